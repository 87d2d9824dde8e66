// What the orbit examples share: a torus mesh whose nodes carry labels, a
// camera turning round it, and a small software rasteriser that gives the
// depth image an application would read back from its depth buffer. The
// labels are placed every frame with the 3D call of LabelPlacer: world
// anchors, the depth image for occlusion, a kept-out legend and fades.
#ifndef VARNEK_EXAMPLES_ORBIT_SCENE_H
#define VARNEK_EXAMPLES_ORBIT_SCENE_H

#include <varnek/varnek.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace orbit {

using Vec3 = std::array<float, 3>;
using Matrix = std::array<float, 16>;  // column-major, as LabelView takes it

constexpr float s_pi = 3.14159265f;

inline Vec3 minus(const Vec3& a, const Vec3& b) {
    return {a[0] - b[0], a[1] - b[1], a[2] - b[2]};
}
inline Vec3 cross(const Vec3& a, const Vec3& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}
inline float dot(const Vec3& a, const Vec3& b) {
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}
inline Vec3 normalised(const Vec3& a) {
    const float length = std::sqrt(dot(a, a));
    return {a[0] / length, a[1] / length, a[2] / length};
}

inline Matrix multiply(const Matrix& a, const Matrix& b) {
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
inline Matrix lookAt(const Vec3& eye, const Vec3& target, const Vec3& up) {
    const Vec3 f = normalised(minus(target, eye));
    const Vec3 s = normalised(cross(f, up));
    const Vec3 u = cross(s, f);
    return {s[0], u[0], -f[0], 0.0f, s[1],         u[1],         -f[1],       0.0f,
            s[2], u[2], -f[2], 0.0f, -dot(s, eye), -dot(u, eye), dot(f, eye), 1.0f};
}

inline Matrix perspective(float fovY, float aspect, float near, float far) {
    const float f = 1.0f / std::tan(fovY / 2.0f);
    Matrix m{};
    m[0] = f / aspect;
    m[5] = f;
    m[10] = (far + near) / (near - far);
    m[11] = -1.0f;
    m[14] = 2.0f * far * near / (near - far);
    return m;
}

// The camera of frame `frame` of one turn of `frames` round the origin, at
// distance 4, with a slow tilt.
inline Matrix orbitCamera(int frame, int frames, float aspect) {
    const float angle = 2.0f * s_pi * static_cast<float>(frame) / static_cast<float>(frames);
    const float tilt = 0.5f + 0.3f * std::sin(angle);
    const Vec3 eye = {4.0f * std::cos(angle) * std::cos(tilt), 4.0f * std::sin(tilt),
                      4.0f * std::sin(angle) * std::cos(tilt)};
    return multiply(perspective(0.8f, aspect, 1.0f, 10.0f),
                    lookAt(eye, {0.0f, 0.0f, 0.0f}, {0.0f, 1.0f, 0.0f}));
}

// A point in view coordinates (y down) and its window depth.
struct Projected {
    float x;
    float y;
    float depth;
    bool inFront;
};

inline Projected project(const Matrix& m, const Vec3& p, float width, float height) {
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
    std::vector<std::array<std::uint32_t, 3>> triangles;  // clockwise seen from outside
};

// A torus about the y axis: rings x segments nodes.
inline Mesh makeTorus(int rings, int segments, float major, float minor) {
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

// True when the triangle of projected corners faces the camera: its
// corners, clockwise seen from outside, turn clockwise on the screen, which
// in view coordinates (y down) is a positive signed area.
inline bool facesCamera(const Projected& a, const Projected& b, const Projected& c) {
    return a.inFront && b.inFront && c.inFront &&
           (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x) > 0.0f;
}

// The nearest window depth of the mesh at every pixel centre of a
// columns x rows image spanning the view; 1 (far) where nothing is.
inline void rasterise(const Mesh& mesh, const std::vector<Projected>& projected, float width,
                      float height, int columns, int rows, std::vector<float>& depths) {
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

// What a renderer needs to draw the placer's last result: the outlines of
// the labels drawn (appendOutlines), their fill triangles (appendTriangles,
// indices into points) and the leaders of callouts (appendLeaders, two
// points a leader). Kept from frame to frame, the vectors stop growing.
struct LabelGeometry {
    std::vector<Varnek::Vector<float, 3>> points;
    std::vector<std::uint32_t> starts;  // outline k: points[starts[k]] to points[starts[k + 1]]
    std::vector<std::uint32_t> triangles;
    std::vector<Varnek::Vector<float, 3>> leaders;

    void read(const Varnek::LabelPlacer& placer) {
        points.clear();
        starts.clear();
        triangles.clear();
        leaders.clear();
        placer.appendOutlines(points, starts);
        placer.appendTriangles(triangles, 0);
        placer.appendLeaders(leaders);
    }
};

// The labelled model and its placer: every `labelEvery`-th node of the
// mesh gets a label named by its number, placed frame by frame.
class LabelledModel {
public:
    LabelledModel(Mesh mesh, std::size_t labelEvery, float width, float height)
        : m_mesh(std::move(mesh)),
          m_width(width),
          m_height(height),
          m_placer(makeBackground(height), makeOptions(width, height)) {
        for (std::size_t n = 0; n < m_mesh.nodes.size(); n += labelEvery) {
            m_texts.push_back("N" + std::to_string(n));
            Varnek::LabelRequest request;
            request.key = n;  // the same key every frame: history and fades follow it
            const Vec3& node = m_mesh.nodes[n];
            request.anchor = {node[0], node[1], node[2]};  // world coordinates
            // A rough extent of the text in a 12-pixel sans-serif font, plus a margin.
            request.size = {7.0f * static_cast<float>(m_texts.back().size()) + 8.0f, 16.0f, 0.0f};
            request.priority = n % (12 * labelEvery) == 0 ? 1.0f : 0.0f;  // one in 12 wins
            m_requests.push_back(request);
        }
        // The depth image at a quarter of the view's size, with some slack
        // for anchors on the surface between pixel centres.
        m_depth.width = static_cast<int>(width) / 4;
        m_depth.height = static_cast<int>(height) / 4;
        m_depth.tolerance = 0.002f;
        m_scene.view.viewport = m_placer.getOptions().viewport;
        m_scene.depth = &m_depth;
        m_projected.resize(m_mesh.nodes.size());
    }

    // The corner of the view kept free for a legend.
    Varnek::LabelRect legend() const { return legendOf(m_width); }

    // Places the labels of frame `frame` of one turn of `frames`: projects
    // the mesh, renders its depth image, then places. Frames must come one
    // after another for the fades and the history to follow the camera.
    const std::vector<Varnek::PlacedLabel>& place(int frame, int frames) {
        const Matrix viewProjection = orbitCamera(frame, frames, m_width / m_height);
        for (std::size_t n = 0; n < m_mesh.nodes.size(); ++n) {
            m_projected[n] = project(viewProjection, m_mesh.nodes[n], m_width, m_height);
        }
        rasterise(m_mesh, m_projected, m_width, m_height, m_depth.width, m_depth.height, m_depths);
        m_depth.depths = m_depths.data();
        m_scene.view.viewProjection = viewProjection;
        return m_placer.place(m_requests, m_scene);
    }

    const Mesh& mesh() const { return m_mesh; }
    // The mesh's nodes in view coordinates, as of the last place.
    const std::vector<Projected>& projected() const { return m_projected; }
    const std::vector<std::string>& texts() const { return m_texts; }
    const Varnek::LabelPlacer& placer() const { return m_placer; }

private:
    static Varnek::LabelRect legendOf(float width) {
        return {width - 150.0f, 10.0f, width - 10.0f, 50.0f};
    }
    // Sizes are in pixels, so the scale is the view's height in pixels.
    static std::shared_ptr<const Varnek::LabelBackground> makeBackground(float height) {
        using namespace Varnek;
        return SymmetricCornerLabelBackground::createRoundCornered(
            TriangularLabelIndicator::createAcuteAngledTriangularLabelIndicator(true, 0.015f),
            height);
    }
    static Varnek::LabelPlacementOptions makeOptions(float width, float height) {
        Varnek::LabelPlacementOptions options;
        options.viewport = {0.0f, 0.0f, width, height};
        options.gap = 2.0f;
        options.keepOut = {legendOf(width)};
        options.fadeFrames = 6;  // labels fade in and out over six frames
        // A label with no room beside its anchor may stand up to 40 pixels
        // away, joined to it by a leader.
        options.calloutDistance = 40.0f;
        return options;
    }

    Mesh m_mesh;
    float m_width;
    float m_height;
    std::vector<std::string> m_texts;
    std::vector<Varnek::LabelRequest> m_requests;
    Varnek::LabelPlacer m_placer;
    std::vector<Projected> m_projected;
    std::vector<float> m_depths;
    Varnek::DepthImage m_depth;
    Varnek::LabelScene m_scene;
};

}  // namespace orbit

#endif  // VARNEK_EXAMPLES_ORBIT_SCENE_H
