// What a developer would otherwise write: the round-cornered label outline
// with its pointer built as a Cairo path (an arc per corner, lines for the
// pointer) and flattened into points. Built only when Cairo is installed.
#include <array>
#include <cstddef>
#include <memory>
#include <vector>

#include <benchmark/benchmark.h>
#include <cairo.h>

#include <varnek/varnek.h>

#include "BenchmarkInputs.h"
#include "BenchmarkNames.h"
#include "LabelFixtures.h"

namespace VarnekBench {
namespace {

constexpr double s_pi = 3.14159265358979323846;

// The radius of the library's round corner, in screen-height fractions.
constexpr double s_cornerRadiusInScreenHeightFraction = 0.006;

// A rounded rectangle with a three-point pointer on one of its sides, in the
// label's masked coordinates (x to the right, y downwards).
struct RoundOutline {
    int pointerSide;  // the label's side: 0 top, 1 right, 2 bottom, 3 left
    double centerX, centerY;
    double halfWidth, halfHeight;
    double radius;
    std::array<double, 6> pointer;  // three points, in clockwise order
};

// The outlines of the library's round-cornered labels with a triangle for
// the same inputs: body centre, body size and pointer taken from the
// library, so both sides build the same shape.
std::array<RoundOutline, s_inputCount> makeOutlines() {
    const std::shared_ptr<Varnek::LabelBackground> background =
        makeBackground(BackgroundShape::Round, Indicator::Triangular);
    const auto& inputs = labelInputs();
    std::array<RoundOutline, s_inputCount> outlines{};
    for (std::size_t i = 0; i < outlines.size(); ++i) {
        const LabelInput& input = inputs[i];
        const Point center = background->getOffset(input.referencePoint, input.size);
        const Point body =
            background->getBodySizeInMaskedCoordinates(input.referencePoint, input.size);
        const std::vector<Point> pointer =
            background->getIndicatorPolygon(input.referencePoint, input.size);
        RoundOutline& o = outlines[i];
        o.pointerSide = Varnek::toIndex(Varnek::getSideOfReferencePoint(input.referencePoint));
        o.centerX = center[0];
        o.centerY = center[1];
        o.halfWidth = 0.5 * body[0];
        o.halfHeight = 0.5 * body[1];
        o.radius = s_cornerRadiusInScreenHeightFraction * s_scale;
        for (std::size_t k = 0; k < 3; ++k) {
            o.pointer[2 * k] = pointer[k][0];
            o.pointer[2 * k + 1] = pointer[k][1];
        }
    }
    return outlines;
}

// The outline clockwise (on screen): each side's pointer, if it is there,
// then the corner that follows the side.
void addOutlinePath(cairo_t* cr, const RoundOutline& o) {
    const double ax = o.halfWidth - o.radius;
    const double ay = o.halfHeight - o.radius;
    // Corner after each side: its arc centre's signs and its start angle.
    constexpr double cornerSigns[4][2] = {{-1, 1}, {-1, -1}, {1, -1}, {1, 1}};
    for (int side = 0; side < 4; ++side) {
        if (side == o.pointerSide) {
            cairo_line_to(cr, o.pointer[0], o.pointer[1]);
            cairo_line_to(cr, o.pointer[2], o.pointer[3]);
            cairo_line_to(cr, o.pointer[4], o.pointer[5]);
        }
        const double start = 0.5 * s_pi * (side + 1);
        cairo_arc(cr, o.centerX + cornerSigns[side][0] * ax, o.centerY + cornerSigns[side][1] * ay,
                  o.radius, start, start + 0.5 * s_pi);
    }
    cairo_close_path(cr);
}

// Vertices of a flattened path, the closing move that Cairo appends left out.
int countPoints(const cairo_path_t* path) {
    int points = 0;
    bool closed = false;
    for (int i = 0; i < path->num_data; i += path->data[i].header.length) {
        const cairo_path_data_type_t type = path->data[i].header.type;
        if (type == CAIRO_PATH_CLOSE_PATH) {
            closed = true;
        } else if (type == CAIRO_PATH_LINE_TO || (type == CAIRO_PATH_MOVE_TO && !closed)) {
            ++points;
        }
    }
    return points;
}

// Cairo flattens a quarter circle of radius 6 (the corner at s_scale) into 5
// points for tolerances from 0.2 to 0.5 (9 at its default 0.1): the same 5
// points per corner as the library's round corner, so both outlines have 23
// points.
constexpr double s_tolerance = 0.25;

void flattenOutline(benchmark::State& state) {
    static const std::array<RoundOutline, s_inputCount> s_outlines = makeOutlines();
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 512, 512);
    cairo_t* cr = cairo_create(surface);
    cairo_set_tolerance(cr, s_tolerance);

    // Points per outline, counted once beforehand: the timed loop only builds
    // and flattens, as the library's timed loop only builds.
    double points = 0.0;
    for (const RoundOutline& outline : s_outlines) {
        cairo_new_path(cr);
        addOutlinePath(cr, outline);
        cairo_path_t* path = cairo_copy_path_flat(cr);
        points += countPoints(path);
        cairo_path_destroy(path);
    }
    state.counters["points"] = benchmark::Counter(points / static_cast<double>(s_outlines.size()));

    std::size_t i = 0;
    for ([[maybe_unused]] auto _ : state) {
        cairo_new_path(cr);
        addOutlinePath(cr, pick(s_outlines, i++));
        cairo_path_t* path = cairo_copy_path_flat(cr);
        benchmark::DoNotOptimize(path->data);
        benchmark::ClobberMemory();
        cairo_path_destroy(path);
    }

    cairo_destroy(cr);
    cairo_surface_destroy(surface);
}

[[maybe_unused]] const bool s_registered = [] {
    benchmark::RegisterBenchmark(s_cairoOutline, flattenOutline);
    return true;
}();

}  // namespace
}  // namespace VarnekBench
