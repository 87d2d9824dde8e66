// Labels of a 3D model while the camera orbits it: the node numbers of a
// torus mesh, placed every frame from world coordinates with a depth image
// for occlusion, a kept-out legend and fading labels, written as SVG frames.
// The model, the camera and the placement are in orbit_scene.h (shared with
// orbit_render, which draws the same orbit with Cairo).
// Usage: orbit_view [FRAMES], default 24; writes orbit_000.svg ... in the
// working directory and prints each frame's placement time.
#include "orbit_scene.h"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    using namespace Varnek;
    using orbit::Projected;
    const int frames = argc > 1 ? std::atoi(argv[1]) : 24;
    const float width = 640.0f;
    const float height = 480.0f;
    // Every fourth node of a 24 x 12 torus gets a label.
    orbit::LabelledModel model(orbit::makeTorus(24, 12, 1.0f, 0.4f), 4, width, height);

    std::vector<Vector<float, 3>> points;
    std::vector<std::uint32_t> starts;
    for (int frame = 0; frame < frames; ++frame) {
        const auto start = std::chrono::steady_clock::now();
        const std::vector<PlacedLabel>& placed = model.place(frame, frames);
        const auto stop = std::chrono::steady_clock::now();
        points.clear();
        starts.clear();
        model.placer().appendOutlines(points, starts);  // labels drawn (fading ones too), in order
        const std::vector<Projected>& projected = model.projected();
        const std::vector<std::string>& texts = model.texts();
        char path[32];
        std::snprintf(path, sizeof path, "orbit_%03d.svg", frame);
        std::FILE* out = std::fopen(path, "w");
        if (out == nullptr) {
            std::perror(path);
            return 1;
        }
        std::fprintf(out,
                     "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%g\" height=\"%g\">\n"
                     "<rect width=\"100%%\" height=\"100%%\" fill=\"white\"/>\n",
                     width, height);
        // The model: its triangles facing the camera.
        for (const auto& t : model.mesh().triangles) {
            const Projected& a = projected[t[0]];
            const Projected& b = projected[t[1]];
            const Projected& c = projected[t[2]];
            if (orbit::facesCamera(a, b, c)) {
                std::fprintf(out,
                             "<polygon fill=\"#dde4ee\" stroke=\"#b8c4d6\" stroke-width=\"0.5\" "
                             "points=\"%g,%g %g,%g %g,%g\"/>\n",
                             a.x, a.y, b.x, b.y, c.x, c.y);
            }
        }
        const LabelRect legend = model.legend();
        std::fprintf(out,
                     "<rect x=\"%g\" y=\"%g\" width=\"%g\" height=\"%g\" fill=\"#eee\" "
                     "stroke=\"#999\"/>\n",
                     legend.left, legend.top, legend.right - legend.left,
                     legend.bottom - legend.top);
        std::size_t outline = 0;
        std::size_t drawn = 0;
        std::size_t occluded = 0;
        for (std::size_t i = 0; i < placed.size(); ++i) {
            occluded += placed[i].hiddenReason == LabelHiddenReason::Occluded ? 1 : 0;
            if (!placed[i].visible) {
                continue;  // opacity 0: nothing to draw
            }
            ++drawn;
            const Vector<float, 3>& anchor = placed[i].anchorInView;
            std::fprintf(out,
                         "<g opacity=\"%g\">\n<polygon fill=\"#fff8dc\" stroke=\"#333\" points=\"",
                         placed[i].opacity);
            for (std::uint32_t p = starts[outline]; p < starts[outline + 1]; ++p) {
                std::fprintf(out, "%g,%g ", points[p][0], points[p][1]);
            }
            ++outline;
            std::fprintf(out,
                         "\"/>\n<circle cx=\"%g\" cy=\"%g\" r=\"2\" fill=\"#c00\"/>\n"
                         "<text x=\"%g\" y=\"%g\" font-family=\"sans-serif\" font-size=\"12\" "
                         "text-anchor=\"middle\" dominant-baseline=\"central\">%s</text>\n</g>\n",
                         anchor[0], anchor[1], anchor[0] + placed[i].offset[0],
                         anchor[1] + placed[i].offset[1], texts[i].c_str());
        }
        std::fprintf(out, "</svg>\n");
        if (std::fclose(out) != 0) {
            std::perror(path);
            return 1;
        }
        const double microseconds = std::chrono::duration<double, std::micro>(stop - start).count();
        std::printf("frame %3d: %zu of %zu labels drawn, %zu occluded, placed in %.1f us -> %s\n",
                    frame, drawn, placed.size(), occluded, microseconds, path);
    }
    return 0;
}
