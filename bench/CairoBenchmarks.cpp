// What a developer would otherwise write: the round-cornered label outline
// with its pointer built as a Cairo path (an arc per corner, lines for the
// pointer) and flattened into points. Built only when Cairo is installed.
#include <array>
#include <cstddef>

#include <benchmark/benchmark.h>
#include <cairo.h>

#include "BenchmarkInputs.h"
#include "BenchmarkNames.h"

namespace VarnekBench {
namespace {

constexpr double s_pi = 3.14159265358979323846;

// A rounded rectangle with a three-point pointer on one of its sides, in the
// label's masked coordinates (x to the right, y downwards).
struct RoundOutline {
    int pointerSide;  // 0 top, 1 right, 2 bottom, 3 left: the label's side
    double centerX, centerY;
    double halfWidth, halfHeight;
    double radius;
    std::array<double, 6> pointer;  // three points, in clockwise order
};

// Labels of a view at 1000 masked units per screen height: corner radius 6,
// an acute triangle 15 wide and 10 high, text sizes of a few words. The
// label sits centred on its side so that the pointer is in the middle of the
// edge it points from.
std::array<RoundOutline, s_inputCount> makeOutlines() {
    constexpr double radius = 6.0;
    constexpr double width = 15.0;
    constexpr double height = 10.0;
    InputGenerator generator(11);
    std::array<RoundOutline, s_inputCount> outlines{};
    for (std::size_t i = 0; i < outlines.size(); ++i) {
        RoundOutline& o = outlines[i];
        o.pointerSide = static_cast<int>(i % 4);
        o.halfWidth = 0.5 * generator.uniform(40.0F, 300.0F);
        o.halfHeight = 0.5 * generator.uniform(20.0F, 60.0F);
        o.radius = radius;
        const double w = 0.5 * width;
        switch (o.pointerSide) {
            case 0:  // label above its anchor: pointer on the bottom edge
                o.centerX = 0.0;
                o.centerY = -height - o.halfHeight;
                o.pointer = {w, -height, 0.0, 0.0, -w, -height};
                break;
            case 1:  // label right of its anchor: pointer on the left edge
                o.centerX = height + o.halfWidth;
                o.centerY = 0.0;
                o.pointer = {height, w, 0.0, 0.0, height, -w};
                break;
            case 2:  // label below its anchor: pointer on the top edge
                o.centerX = 0.0;
                o.centerY = height + o.halfHeight;
                o.pointer = {-w, height, 0.0, 0.0, w, height};
                break;
            default:  // label left of its anchor: pointer on the right edge
                o.centerX = -height - o.halfWidth;
                o.centerY = 0.0;
                o.pointer = {-height, -w, 0.0, 0.0, -height, w};
                break;
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

// Cairo flattens a quarter circle of radius 6 into 5 points for tolerances
// from 0.2 to 0.5 (9 at its default 0.1): the same 5 points per corner as
// the library's round corner, so both outlines have 23 points.
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
    for (auto _ : state) {
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
