// Labels of a 3D model while the camera orbits it: the node numbers of a
// torus mesh, placed every frame from world coordinates with a depth image
// for occlusion, a kept-out legend and fading labels, written as SVG frames.
// The depth image comes from a small software rasteriser at a quarter of
// the view's size, as an application would read back its depth buffer.
// Usage: orbit_view [FRAMES], default 24; writes orbit_000.svg ... in the
// working directory and prints each frame's placement time.
#include <varnek/varnek.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

namespace {

using Varnek::Vector;
using Vec3 = std::array<float, 3>;
using Matrix = std::array<float, 16>;  // column-major, as LabelView takes it

constexpr float s_pi = 3.14159265f;

Vec3 minus(const Vec3& a, const Vec3& b) {
    return {a[0] - b[0], a[1] - b[1], a[2] - b[2]};
}
Vec3 cross(const Vec3& a, const Vec3& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}
float dot(const Vec3& a, const Vec3& b) {
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}
Vec3 normalised(const Vec3& a) {
    const float length = std::sqrt(dot(a, a));
    return {a[0] / length, a[1] / length, a[2] / length};
}

Matrix multiply(const Matrix& a, const Matrix& b) {
    Matrix product{};
    for (std::size_t column = 0; column < 4; ++column) {
        for (std::size_t row = 0; row < 4; ++row) {
            float sum = 0.0f;
            for (std::size_t k = 0; k < 4; ++k) {
                sum += a[4 * k + row] * b[4 * column + k];
            }
            product[4 * column + row] = sum;
        }
    }
    return product;
}

// OpenGL's conventions: the camera looks down its -z, NDC z in [-1, 1].
Matrix lookAt(const Vec3& eye, const Vec3& target, const Vec3& up) {
    const Vec3 f = normalised(minus(target, eye));
    const Vec3 s = normalised(cross(f, up));
    const Vec3 u = cross(s, f);
    return {s[0], u[0], -f[0], 0.0f, s[1],         u[1],         -f[1],       0.0f,
            s[2], u[2], -f[2], 0.0f, -dot(s, eye), -dot(u, eye), dot(f, eye), 1.0f};
}

Matrix perspective(float fovY, float aspect, float near, float far) {
    const float f = 1.0f / std::tan(fovY / 2.0f);
    Matrix m{};
    m[0] = f / aspect;
    m[5] = f;
    m[10] = (far + near) / (near - far);
    m[11] = -1.0f;
    m[14] = 2.0f * far * near / (near - far);
    return m;
}

// A point in view coordinates (y down) and its window depth.
struct Projected {
    float x;
    float y;
    float depth;
    bool inFront;
};

Projected project(const Matrix& m, const Vec3& p, float width, float height) {
    const float clip[4] = {
        m[0] * p[0] + m[4] * p[1] + m[8] * p[2] + m[12],
        m[1] * p[0] + m[5] * p[1] + m[9] * p[2] + m[13],
        m[2] * p[0] + m[6] * p[1] + m[10] * p[2] + m[14],
        m[3] * p[0] + m[7] * p[1] + m[11] * p[2] + m[15],
    };
    const float w = clip[3];
    return {(clip[0] / w + 1.0f) * 0.5f * width, (1.0f - clip[1] / w) * 0.5f * height,
            (clip[2] / w + 1.0f) * 0.5f, w > 0.0f};
}

struct Mesh {
    std::vector<Vec3> nodes;
    std::vector<std::array<std::uint32_t, 3>> triangles;
};

// A torus about the y axis: rings x segments nodes.
Mesh makeTorus(int rings, int segments, float major, float minor) {
    Mesh mesh;
    for (int i = 0; i < rings; ++i) {
        const float u = 2.0f * s_pi * static_cast<float>(i) / static_cast<float>(rings);
        for (int j = 0; j < segments; ++j) {
            const float v = 2.0f * s_pi * static_cast<float>(j) / static_cast<float>(segments);
            const float r = major + minor * std::cos(v);
            mesh.nodes.push_back({r * std::cos(u), minor * std::sin(v), r * std::sin(u)});
        }
    }
    const auto node = [&](int i, int j) {
        return static_cast<std::uint32_t>((i % rings) * segments + (j % segments));
    };
    for (int i = 0; i < rings; ++i) {
        for (int j = 0; j < segments; ++j) {
            mesh.triangles.push_back({node(i, j), node(i + 1, j), node(i + 1, j + 1)});
            mesh.triangles.push_back({node(i, j), node(i + 1, j + 1), node(i, j + 1)});
        }
    }
    return mesh;
}

// The nearest window depth of the mesh at every pixel centre of a
// columns x rows image spanning the view; 1 (far) where nothing is.
void rasterise(const Mesh& mesh, const std::vector<Projected>& projected, float width, float height,
               int columns, int rows, std::vector<float>& depths) {
    depths.assign(static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows), 1.0f);
    const float sx = static_cast<float>(columns) / width;
    const float sy = static_cast<float>(rows) / height;
    for (const auto& triangle : mesh.triangles) {
        const Projected& a = projected[triangle[0]];
        const Projected& b = projected[triangle[1]];
        const Projected& c = projected[triangle[2]];
        if (!a.inFront || !b.inFront || !c.inFront) {
            continue;
        }
        const float ax = a.x * sx, ay = a.y * sy, bx = b.x * sx, by = b.y * sy;
        const float cx = c.x * sx, cy = c.y * sy;
        const float area = (bx - ax) * (cy - ay) - (by - ay) * (cx - ax);
        if (area == 0.0f) {
            continue;
        }
        const int x0 = std::max(0, static_cast<int>(std::floor(std::min({ax, bx, cx}))));
        const int x1 = std::min(columns - 1, static_cast<int>(std::ceil(std::max({ax, bx, cx}))));
        const int y0 = std::max(0, static_cast<int>(std::floor(std::min({ay, by, cy}))));
        const int y1 = std::min(rows - 1, static_cast<int>(std::ceil(std::max({ay, by, cy}))));
        for (int y = y0; y <= y1; ++y) {
            for (int x = x0; x <= x1; ++x) {
                const float px = static_cast<float>(x) + 0.5f;
                const float py = static_cast<float>(y) + 0.5f;
                const float wa = ((bx - px) * (cy - py) - (by - py) * (cx - px)) / area;
                const float wb = ((cx - px) * (ay - py) - (cy - py) * (ax - px)) / area;
                const float wc = 1.0f - wa - wb;
                if (wa < 0.0f || wb < 0.0f || wc < 0.0f) {
                    continue;
                }
                const float depth = wa * a.depth + wb * b.depth + wc * c.depth;
                float& held =
                    depths[static_cast<std::size_t>(y) * static_cast<std::size_t>(columns) +
                           static_cast<std::size_t>(x)];
                held = std::min(held, depth);
            }
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    using namespace Varnek;
    const int frames = argc > 1 ? std::atoi(argv[1]) : 24;
    const float width = 640.0f;
    const float height = 480.0f;
    const Mesh torus = makeTorus(24, 12, 1.0f, 0.4f);

    // Every fourth node gets a label, named by its number.
    std::vector<std::string> texts;
    std::vector<LabelRequest> requests;
    for (std::size_t n = 0; n < torus.nodes.size(); n += 4) {
        texts.push_back("N" + std::to_string(n));
        LabelRequest request;
        request.key = n;  // the same key every frame: history and fades follow it
        request.anchor = {torus.nodes[n][0], torus.nodes[n][1], torus.nodes[n][2]};  // world
        request.size = {7.0f * static_cast<float>(texts.back().size()) + 8.0f, 16.0f, 0.0f};
        request.priority = n % 48 == 0 ? 1.0f : 0.0f;  // every twelfth label wins conflicts
        requests.push_back(request);
    }

    const auto background = SymmetricCornerLabelBackground::createRoundCornered(
        TriangularLabelIndicator::createAcuteAngledTriangularLabelIndicator(true, 0.015f), height);
    LabelPlacementOptions options;
    options.viewport = {0.0f, 0.0f, width, height};
    options.gap = 2.0f;
    options.keepOut = {{width - 150.0f, 10.0f, width - 10.0f, 50.0f}};  // the legend
    options.fadeFrames = 6;  // labels fade in and out over six frames
    LabelPlacer placer(background, options);

    // The depth image at a quarter of the view's size, reversed-Z off, with
    // some slack for anchors on the surface between pixel centres.
    const int columns = static_cast<int>(width) / 4;
    const int rows = static_cast<int>(height) / 4;
    std::vector<float> depths;
    DepthImage depth;
    depth.tolerance = 0.002f;
    LabelScene scene;
    scene.view.viewport = options.viewport;
    scene.depth = &depth;

    std::vector<Projected> projected(torus.nodes.size());
    std::vector<Vector<float, 3>> points;
    std::vector<std::uint32_t> starts;
    const Matrix projection = perspective(0.8f, width / height, 1.0f, 10.0f);
    for (int frame = 0; frame < frames; ++frame) {
        // One turn round the model over the frames, with a slow tilt.
        const float angle = 2.0f * s_pi * static_cast<float>(frame) / static_cast<float>(frames);
        const float tilt = 0.5f + 0.3f * std::sin(angle);
        const Vec3 eye = {4.0f * std::cos(angle) * std::cos(tilt), 4.0f * std::sin(tilt),
                          4.0f * std::sin(angle) * std::cos(tilt)};
        const Matrix viewProjection =
            multiply(projection, lookAt(eye, {0.0f, 0.0f, 0.0f}, {0.0f, 1.0f, 0.0f}));
        for (std::size_t n = 0; n < torus.nodes.size(); ++n) {
            projected[n] = project(viewProjection, torus.nodes[n], width, height);
        }
        rasterise(torus, projected, width, height, columns, rows, depths);
        depth.depths = depths.data();
        depth.width = columns;
        depth.height = rows;
        scene.view.viewProjection = viewProjection;

        const auto start = std::chrono::steady_clock::now();
        const std::vector<PlacedLabel>& placed = placer.place(requests, scene);
        const auto stop = std::chrono::steady_clock::now();
        points.clear();
        starts.clear();
        placer.appendOutlines(points, starts);  // labels drawn (fading ones too), in order

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
        for (const auto& t : torus.triangles) {
            const Projected& a = projected[t[0]];
            const Projected& b = projected[t[1]];
            const Projected& c = projected[t[2]];
            if (a.inFront && b.inFront && c.inFront &&
                (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x) < 0.0f) {
                std::fprintf(out,
                             "<polygon fill=\"#dde4ee\" stroke=\"#b8c4d6\" stroke-width=\"0.5\" "
                             "points=\"%g,%g %g,%g %g,%g\"/>\n",
                             a.x, a.y, b.x, b.y, c.x, c.y);
            }
        }
        const LabelRect& legend = options.keepOut[0];
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
