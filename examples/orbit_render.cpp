// The orbit of orbit_view drawn as an application's view would draw it, with
// Cairo into PNG frames: a shaded torus mesh, its node numbers placed every
// frame by the 3D call (occlusion from a depth image, a legend kept free,
// labels fading in and out), and each frame's placement and drawing time.
// scripts/make-orbit-animation.sh turns a full turn into the README's
// animation.
// Usage: orbit_render [FRAMES_PER_TURN [FRAMES_TO_DRAW [DIRECTORY]]],
// default 120, all of them, the working directory; writes orbit_000.png ...
#include "cairo_labels.h"
#include "orbit_scene.h"

#include <cairo.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace {

using orbit::Projected;
using orbit::Vec3;

// Fills the mesh's triangles that face the camera, farthest first, so that
// nearer ones cover them (a painter's algorithm: the depth image of the
// placement stays the application's, this is only the picture). Each is
// lit by a fixed light in the world; a darker edge shows the mesh.
void drawModel(cairo_t* cr, const orbit::Mesh& mesh, const std::vector<Projected>& projected) {
    std::vector<std::pair<float, std::size_t>> order;  // (mean depth, triangle), sorted
    for (std::size_t t = 0; t < mesh.triangles.size(); ++t) {
        const auto& corners = mesh.triangles[t];
        const Projected& a = projected[corners[0]];
        const Projected& b = projected[corners[1]];
        const Projected& c = projected[corners[2]];
        if (orbit::facesCamera(a, b, c)) {
            order.emplace_back(a.depth + b.depth + c.depth, t);
        }
    }
    // Ties go by triangle number, so every run draws the same picture.
    std::sort(order.begin(), order.end(), [](const auto& left, const auto& right) {
        return left.first > right.first ||
               (left.first == right.first && left.second < right.second);
    });
    const Vec3 light = orbit::normalised({0.3f, 1.0f, 0.5f});
    cairo_set_line_width(cr, 0.5);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    for (const auto& entry : order) {
        const auto& corners = mesh.triangles[entry.second];
        const Vec3& p0 = mesh.nodes[corners[0]];
        // The corners turn clockwise seen from outside: this normal points out.
        const Vec3 normal = orbit::normalised(orbit::cross(
            orbit::minus(mesh.nodes[corners[2]], p0), orbit::minus(mesh.nodes[corners[1]], p0)));
        const double shade = 0.45 + 0.55 * std::max(0.0f, orbit::dot(normal, light));
        cairo_new_path(cr);
        for (const std::uint32_t corner : corners) {
            cairo_line_to(cr, projected[corner].x, projected[corner].y);
        }
        cairo_close_path(cr);
        cairo_set_source_rgb(cr, 0.55 * shade, 0.65 * shade, 0.8 * shade);
        cairo_fill_preserve(cr);
        // The edge also closes the hairline seams anti-aliasing leaves between triangles.
        cairo_set_source_rgb(cr, 0.45 * shade, 0.53 * shade, 0.66 * shade);
        cairo_stroke(cr);
    }
}

// The legend in the corner kept free of labels.
void drawLegend(cairo_t* cr, const Varnek::LabelRect& legend, int frame, int frames,
                std::size_t drawn, std::size_t labels) {
    cairo_rectangle(cr, legend.left, legend.top, legend.right - legend.left,
                    legend.bottom - legend.top);
    cairo_set_source_rgba(cr, 1.0, 1.0, 1.0, 0.85);
    cairo_fill_preserve(cr);
    cairo_set_source_rgb(cr, 0.6, 0.6, 0.6);
    cairo_set_line_width(cr, 1.0);
    cairo_stroke(cr);
    cairo_select_font_face(cr, "sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, 11.0);
    cairo_set_source_rgb(cr, 0.1, 0.1, 0.1);
    char line[64];
    std::snprintf(line, sizeof line, "frame %d of %d", frame + 1, frames);
    cairo_move_to(cr, legend.left + 8.0, legend.top + 16.0);
    cairo_show_text(cr, line);
    std::snprintf(line, sizeof line, "%zu of %zu labels drawn", drawn, labels);
    cairo_move_to(cr, legend.left + 8.0, legend.top + 32.0);
    cairo_show_text(cr, line);
}

// A small dot on the anchor of every label drawn, at the label's opacity.
void drawAnchors(cairo_t* cr, const std::vector<Varnek::PlacedLabel>& placed) {
    for (const Varnek::PlacedLabel& label : placed) {
        if (label.visible) {
            cairo_new_path(cr);
            cairo_arc(cr, label.anchorInView[0], label.anchorInView[1], 1.8, 0.0,
                      2.0 * orbit::s_pi);
            cairo_set_source_rgba(cr, 0.75, 0.0, 0.0, label.opacity);
            cairo_fill(cr);
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    using namespace Varnek;
    const int frames = argc > 1 ? std::atoi(argv[1]) : 120;
    const int toDraw = argc > 2 ? std::min(std::atoi(argv[2]), frames) : frames;
    const std::string directory = argc > 3 ? argv[3] : ".";
    if (frames <= 0 || toDraw <= 0) {
        std::fprintf(stderr,
                     "usage: orbit_render [FRAMES_PER_TURN [FRAMES_TO_DRAW [DIRECTORY]]]\n");
        return 2;
    }
    const int width = 640;
    const int height = 400;
    // Every second node of a 48 x 16 torus: 384 labels.
    orbit::LabelledModel model(orbit::makeTorus(48, 16, 1.0f, 0.4f), 2, static_cast<float>(width),
                               static_cast<float>(height));
    // The turn is a loop: placing its last frames first gives frame 0 the
    // places and fades it has when the turn comes round again, instead of
    // every label fading in at the start.
    for (int frame = std::max(0, frames - 12); frame < frames; ++frame) {
        model.place(frame, frames);
    }

    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    cairo_t* cr = cairo_create(surface);
    orbit::LabelGeometry geometry;
    int status = 0;
    for (int frame = 0; frame < toDraw && status == 0; ++frame) {
        const auto start = std::chrono::steady_clock::now();
        const std::vector<PlacedLabel>& placed = model.place(frame, frames);
        const auto placedAt = std::chrono::steady_clock::now();
        geometry.read(model.placer());  // labels drawn (fading ones too), in order

        cairo_set_source_rgb(cr, 0.97, 0.97, 0.97);
        cairo_paint(cr);
        drawModel(cr, model.mesh(), model.projected());
        drawAnchors(cr, placed);
        cairo_labels::drawLabels(cr, placed, geometry, &model.texts());
        const std::size_t drawn = geometry.starts.empty() ? 0 : geometry.starts.size() - 1;
        const auto fading = std::count_if(placed.begin(), placed.end(), [](const PlacedLabel& l) {
            return l.visible && l.opacity < 1.0f;
        });
        drawLegend(cr, model.legend(), frame, frames, drawn, placed.size());
        const auto drawnAt = std::chrono::steady_clock::now();

        char name[32];
        std::snprintf(name, sizeof name, "/orbit_%03d.png", frame);
        const std::string path = directory + name;
        if (cairo_surface_write_to_png(surface, path.c_str()) != CAIRO_STATUS_SUCCESS) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            status = 1;
        }
        using Microseconds = std::chrono::duration<double, std::micro>;
        std::printf(
            "frame %3d: %3zu of %zu labels drawn (%2td fading), placed in %6.0f us, drawn in "
            "%6.0f us -> %s\n",
            frame, drawn, placed.size(), fading, Microseconds(placedAt - start).count(),
            Microseconds(drawnAt - placedAt).count(), path.c_str());
    }
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    return status;
}
