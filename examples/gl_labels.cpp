// One frame's labels drawn with OpenGL ES 2, as a renderer on the GPU draws
// them: the fill from the triangles LabelPlacer::appendTriangles gives, the
// border from the outlines of appendOutlines and the leaders of callouts
// from appendLeaders, each at the label's opacity.
// Here the context is headless (EGL on Mesa's surfaceless platform, drawing
// into a pbuffer; no window, no GPU needed); in an application it is the
// view's own context, and only drawLabels below is needed.
//
// The frame is the orbit's (orbit_scene.h) after 40 calls, with labels
// fading in and out. The pixels are read back and compared with Cairo's
// drawing of the same labels (cairo_labels.h): both are blurred over 3 x 3
// pixels, which evens out their different anti-aliasing of edges, and at
// most 1 % of the pixels either draws on may then differ by more than an
// eighth of the range in a colour channel (this frame: 0.03 %; leaving out
// the fills, the borders or the opacities makes it 19 % to 20 %). Each
// leader must show in both at its midpoint.
// Usage: gl_labels [DIRECTORY], default the working directory; writes
// gl_labels.png and cairo_labels.png. Exits 0 when the two agree, 1 when
// not, and 77 when no OpenGL ES 2 context can be made (the test is then
// reported as skipped).
#include "cairo_labels.h"
#include "orbit_scene.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GLES2/gl2.h>
#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int s_skipped = 77;  // ctest's SKIP_RETURN_CODE
constexpr int s_width = 640;
constexpr int s_height = 400;

// An OpenGL ES 2 context current on this thread, drawing into an offscreen
// RGBA pbuffer of width x height pixels. error() is empty when it started.
class HeadlessContext {
public:
    HeadlessContext(int width, int height) {
        const char* extensions = eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS);
        if (extensions == nullptr ||
            std::strstr(extensions, "EGL_MESA_platform_surfaceless") == nullptr) {
            m_error = "EGL has no surfaceless platform (EGL_MESA_platform_surfaceless)";
            return;
        }
        m_display =
            eglGetPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
        if (m_display == EGL_NO_DISPLAY || eglInitialize(m_display, nullptr, nullptr) != EGL_TRUE) {
            m_error = "EGL could not open the surfaceless display";
            return;
        }
        const EGLint configAttributes[] = {EGL_SURFACE_TYPE,
                                           EGL_PBUFFER_BIT,
                                           EGL_RENDERABLE_TYPE,
                                           EGL_OPENGL_ES2_BIT,
                                           EGL_RED_SIZE,
                                           8,
                                           EGL_GREEN_SIZE,
                                           8,
                                           EGL_BLUE_SIZE,
                                           8,
                                           EGL_ALPHA_SIZE,
                                           8,
                                           EGL_NONE};
        EGLConfig config = nullptr;
        EGLint configs = 0;
        if (eglBindAPI(EGL_OPENGL_ES_API) != EGL_TRUE ||
            eglChooseConfig(m_display, configAttributes, &config, 1, &configs) != EGL_TRUE ||
            configs == 0) {
            m_error = "EGL has no RGBA8 pbuffer configuration for OpenGL ES 2";
            return;
        }
        const EGLint surfaceAttributes[] = {EGL_WIDTH, width, EGL_HEIGHT, height, EGL_NONE};
        m_surface = eglCreatePbufferSurface(m_display, config, surfaceAttributes);
        const EGLint contextAttributes[] = {EGL_CONTEXT_CLIENT_VERSION, 2, EGL_NONE};
        m_context = eglCreateContext(m_display, config, EGL_NO_CONTEXT, contextAttributes);
        if (m_surface == EGL_NO_SURFACE || m_context == EGL_NO_CONTEXT ||
            eglMakeCurrent(m_display, m_surface, m_surface, m_context) != EGL_TRUE) {
            m_error = "EGL could not make an OpenGL ES 2 context current";
            return;
        }
        // The outlines of a frame hold more than 65,536 points: 32-bit indices.
        const auto* glExtensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
        if (glExtensions == nullptr ||
            std::strstr(glExtensions, "GL_OES_element_index_uint") == nullptr) {
            m_error = "OpenGL ES has no 32-bit indices (GL_OES_element_index_uint)";
        }
    }
    ~HeadlessContext() {
        if (m_display != EGL_NO_DISPLAY) {
            eglMakeCurrent(m_display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
            if (m_context != EGL_NO_CONTEXT) {
                eglDestroyContext(m_display, m_context);
            }
            if (m_surface != EGL_NO_SURFACE) {
                eglDestroySurface(m_display, m_surface);
            }
            eglTerminate(m_display);
        }
        eglReleaseThread();
    }
    HeadlessContext(const HeadlessContext&) = delete;
    HeadlessContext& operator=(const HeadlessContext&) = delete;

    const std::string& error() const { return m_error; }

private:
    EGLDisplay m_display = EGL_NO_DISPLAY;
    EGLSurface m_surface = EGL_NO_SURFACE;
    EGLContext m_context = EGL_NO_CONTEXT;
    std::string m_error;
};

// Points come in view coordinates (pixels, y down); the viewport's size
// turns them into clip coordinates. Each point carries its label's opacity.
const char* const s_vertexShader = R"(
attribute vec2 position;
attribute float opacity;
uniform vec2 viewSize;
varying float alpha;
void main() {
    gl_Position = vec4(position.x / viewSize.x * 2.0 - 1.0, 1.0 - position.y / viewSize.y * 2.0,
                       0.0, 1.0);
    alpha = opacity;
}
)";
const char* const s_fragmentShader = R"(
precision mediump float;
uniform vec3 colour;
varying float alpha;
void main() {
    gl_FragColor = vec4(colour, alpha);
}
)";

GLuint compile(GLenum type, const char* source) {
    const GLuint shader = glCreateShader(type);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    return shader;
}

GLuint makeProgram() {
    const GLuint program = glCreateProgram();
    const GLuint vertexShader = compile(GL_VERTEX_SHADER, s_vertexShader);
    const GLuint fragmentShader = compile(GL_FRAGMENT_SHADER, s_fragmentShader);
    glAttachShader(program, vertexShader);
    glAttachShader(program, fragmentShader);
    glBindAttribLocation(program, 0, "position");
    glBindAttribLocation(program, 1, "opacity");
    glLinkProgram(program);
    glDeleteShader(vertexShader);  // the program keeps them while it lives
    glDeleteShader(fragmentShader);
    GLint linked = GL_FALSE;
    glGetProgramiv(program, GL_LINK_STATUS, &linked);
    return linked == GL_TRUE ? program : 0;
}

// Vertices for the shaders above: x, y and the opacity of the label.
struct Vertex {
    float x;
    float y;
    float opacity;
};

// Lines as triangles: a quad a segment, as wide as a border, centred on it.
// (GL_LINES would be shorter, but how a line is rasterised is the
// implementation's choice, and one lying on a pixel edge may vanish.)
struct Lines {
    std::vector<Vertex> vertices;
    std::vector<std::uint32_t> indices;

    void add(const Varnek::Vector<float, 3>& from, const Varnek::Vector<float, 3>& to,
             float opacity) {
        const float length = std::hypot(to[0] - from[0], to[1] - from[1]);
        if (length == 0.0f) {
            return;  // a repeated point
        }
        const float half = static_cast<float>(cairo_labels::s_borderWidth) / 2.0f;
        const float nx = (from[1] - to[1]) / length * half;  // the normal, half the width long
        const float ny = (to[0] - from[0]) / length * half;
        const auto first = static_cast<std::uint32_t>(vertices.size());
        vertices.insert(vertices.end(), {{from[0] + nx, from[1] + ny, opacity},
                                         {from[0] - nx, from[1] - ny, opacity},
                                         {to[0] + nx, to[1] + ny, opacity},
                                         {to[0] - nx, to[1] - ny, opacity}});
        indices.insert(indices.end(),
                       {first, first + 1, first + 2, first + 2, first + 1, first + 3});
    }
};

void drawTriangles(GLint colour, const cairo_labels::Colour& rgb,
                   const std::vector<Vertex>& vertices, const std::vector<std::uint32_t>& indices) {
    if (indices.empty()) {
        return;  // a frame without callouts has no leaders, and data() may be null
    }
    glUniform3f(colour, static_cast<float>(rgb.red), static_cast<float>(rgb.green),
                static_cast<float>(rgb.blue));
    glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, sizeof(Vertex), &vertices.data()->x);
    glVertexAttribPointer(1, 1, GL_FLOAT, GL_FALSE, sizeof(Vertex), &vertices.data()->opacity);
    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(indices.size()), GL_UNSIGNED_INT,
                   indices.data());
}

// Draws the labels of one frame into the current framebuffer: the leaders
// of callouts (so that each ends under its label), every fill, then every
// border. Labels never overlap, so drawing all fills before all borders
// gives the same picture as label by label. The fill triangles index the
// outline points, so the fill's vertices are those points, in order. (An
// application keeps these vectors from frame to frame, so that a frame
// allocates nothing once they have grown.)
void drawLabels(GLuint program, const std::vector<Varnek::PlacedLabel>& placed,
                const orbit::LabelGeometry& geometry) {
    std::vector<Vertex> fill;
    Lines borders;
    Lines leaders;
    std::size_t outline = 0;
    std::size_t leader = 0;
    for (const Varnek::PlacedLabel& label : placed) {
        if (!label.visible) {
            continue;  // no outline was appended for it
        }
        const std::uint32_t first = geometry.starts[outline];
        const std::uint32_t end = geometry.starts[outline + 1];
        for (std::uint32_t p = first; p < end; ++p) {
            fill.push_back({geometry.points[p][0], geometry.points[p][1], label.opacity});
            // The last point joins the first.
            borders.add(geometry.points[p], geometry.points[p + 1 < end ? p + 1 : first],
                        label.opacity);
        }
        ++outline;
        if (label.callout && leader + 1 < geometry.leaders.size()) {
            leaders.add(geometry.leaders[leader], geometry.leaders[leader + 1], label.opacity);
            leader += 2;
        }
    }

    glUseProgram(program);
    glUniform2f(glGetUniformLocation(program, "viewSize"), static_cast<float>(s_width),
                static_cast<float>(s_height));
    glEnableVertexAttribArray(0);
    glEnableVertexAttribArray(1);
    // Straight alpha over an opaque background, as Cairo's OVER gives.
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    const GLint colour = glGetUniformLocation(program, "colour");
    drawTriangles(colour, cairo_labels::s_border, leaders.vertices, leaders.indices);
    drawTriangles(colour, cairo_labels::s_fill, fill, geometry.triangles);
    drawTriangles(colour, cairo_labels::s_border, borders.vertices, borders.indices);
}

// An RGB image, 3 bytes a pixel, the top row first.
using Image = std::vector<std::uint8_t>;
constexpr std::size_t s_columns = s_width;
constexpr std::size_t s_rows = s_height;
constexpr std::size_t s_imageBytes = 3 * s_columns * s_rows;

// Where the red byte of pixel (x, y) is.
std::size_t at(std::size_t x, std::size_t y) {
    return 3 * (y * s_columns + x);
}

// The framebuffer's pixels; OpenGL's rows go up from the bottom.
Image readPixels() {
    std::vector<std::uint8_t> rgba(4 * s_columns * s_rows);
    glReadPixels(0, 0, s_width, s_height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    Image image(s_imageBytes);
    for (std::size_t y = 0; y < s_rows; ++y) {
        const std::uint8_t* row = rgba.data() + 4 * s_columns * (s_rows - 1 - y);
        for (std::size_t x = 0; x < s_columns; ++x) {
            std::copy_n(row + 4 * x, 3, &image[at(x, y)]);
        }
    }
    return image;
}

// Cairo's image surface holds 0x00RRGGBB per pixel, in the machine's byte order.
Image fromSurface(cairo_surface_t* surface) {
    cairo_surface_flush(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    const auto stride = static_cast<std::size_t>(cairo_image_surface_get_stride(surface));
    Image image(s_imageBytes);
    for (std::size_t y = 0; y < s_rows; ++y) {
        for (std::size_t x = 0; x < s_columns; ++x) {
            std::uint32_t pixel;
            std::memcpy(&pixel, data + y * stride + 4 * x, sizeof pixel);
            for (std::size_t c = 0; c < 3; ++c) {
                image[at(x, y) + c] = static_cast<std::uint8_t>(pixel >> (16 - 8 * c));
            }
        }
    }
    return image;
}

bool writePng(const Image& image, const std::string& path) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, s_width, s_height);
    unsigned char* data = cairo_image_surface_get_data(surface);
    const auto stride = static_cast<std::size_t>(cairo_image_surface_get_stride(surface));
    for (std::size_t y = 0; y < s_rows; ++y) {
        for (std::size_t x = 0; x < s_columns; ++x) {
            const std::uint8_t* rgb = &image[at(x, y)];
            const std::uint32_t pixel = static_cast<std::uint32_t>(rgb[0]) << 16 |
                                        static_cast<std::uint32_t>(rgb[1]) << 8 | rgb[2];
            std::memcpy(data + y * stride + 4 * x, &pixel, sizeof pixel);
        }
    }
    cairo_surface_mark_dirty(surface);
    const bool written = cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    return written;
}

// The mean of channel c over the 3 x 3 pixels round (x, y), clamped at the edges.
int blurredAt(const Image& image, int x, int y, std::size_t c) {
    int sum = 0;
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            const auto u = static_cast<std::size_t>(std::clamp(x + dx, 0, s_width - 1));
            const auto v = static_cast<std::size_t>(std::clamp(y + dy, 0, s_height - 1));
            sum += image[at(u, v) + c];
        }
    }
    return sum / 9;
}

std::vector<int> blurred(const Image& image) {
    std::vector<int> result(image.size());
    for (int y = 0; y < s_height; ++y) {
        for (int x = 0; x < s_width; ++x) {
            for (std::size_t c = 0; c < 3; ++c) {
                result[at(static_cast<std::size_t>(x), static_cast<std::size_t>(y)) + c] =
                    blurredAt(image, x, y, c);
            }
        }
    }
    return result;
}

// True when the picture shows every leader: round its midpoint the blurred
// red channel is darker than the white background by at least a third of
// what a line of the border's colour at the label's opacity gives there (a
// line one pixel wide covers about 3 of the 9 pixels). Leaders are thin and
// few, so the share of differing pixels would not notice them missing.
bool showsLeaders(const Image& image, const std::vector<Varnek::PlacedLabel>& placed,
                  const std::vector<Varnek::Vector<float, 3>>& leaders) {
    const double lineDarkening = 255.0 * (1.0 - cairo_labels::s_border.red) * 3.0 / 9.0;
    std::size_t leader = 0;
    for (const Varnek::PlacedLabel& label : placed) {
        if (!label.visible || !label.callout || leader + 1 >= leaders.size()) {
            continue;
        }
        const auto x = static_cast<int>((leaders[leader][0] + leaders[leader + 1][0]) / 2.0f);
        const auto y = static_cast<int>((leaders[leader][1] + leaders[leader + 1][1]) / 2.0f);
        leader += 2;
        if (255 - blurredAt(image, x, y, 0) < lineDarkening * label.opacity / 3.0) {
            return false;
        }
    }
    return true;
}

// The share of the pixels drawn on (not white in either image) whose
// blurred colours differ by more than an eighth of the range in a channel.
double shareDiffering(const Image& a, const Image& b) {
    const std::vector<int> blurA = blurred(a);
    const std::vector<int> blurB = blurred(b);
    std::size_t drawn = 0;
    std::size_t differing = 0;
    for (std::size_t pixel = 0; pixel < a.size() / 3; ++pixel) {
        bool inked = false;
        int difference = 0;
        for (std::size_t c = 3 * pixel; c < 3 * pixel + 3; ++c) {
            inked = inked || a[c] != 255 || b[c] != 255;
            difference = std::max(difference, std::abs(blurA[c] - blurB[c]));
        }
        drawn += inked ? 1 : 0;
        differing += inked && difference > 32 ? 1 : 0;
    }
    return drawn == 0 ? 0.0 : static_cast<double>(differing) / static_cast<double>(drawn);
}

// The labels drawn with OpenGL ES into the current context's framebuffer,
// read back; empty if the shaders do not build.
Image drawWithGl(const std::vector<Varnek::PlacedLabel>& placed,
                 const orbit::LabelGeometry& geometry) {
    const GLuint program = makeProgram();
    if (program == 0) {
        return {};
    }
    glViewport(0, 0, s_width, s_height);
    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    drawLabels(program, placed, geometry);
    Image image = readPixels();
    glDeleteProgram(program);
    return image;
}

// The same labels drawn with Cairo, on white, without texts.
Image drawWithCairo(const std::vector<Varnek::PlacedLabel>& placed,
                    const orbit::LabelGeometry& geometry) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, s_width, s_height);
    cairo_t* cr = cairo_create(surface);
    cairo_set_source_rgb(cr, 1.0, 1.0, 1.0);
    cairo_paint(cr);
    cairo_labels::drawLabels(cr, placed, geometry, nullptr);
    cairo_destroy(cr);
    Image image = fromSurface(surface);
    cairo_surface_destroy(surface);
    return image;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace Varnek;
    const std::string directory = argc > 1 ? argv[1] : ".";
    // The orbit's model and labels, placed over 40 frames of a turn of 120,
    // so that some labels are fading in or out in the last.
    orbit::LabelledModel model(orbit::makeTorus(48, 16, 1.0f, 0.4f), 2, static_cast<float>(s_width),
                               static_cast<float>(s_height));
    for (int frame = 0; frame < 39; ++frame) {
        model.place(frame, 120);
    }
    const std::vector<PlacedLabel>& placed = model.place(39, 120);
    orbit::LabelGeometry geometry;
    geometry.read(model.placer());

    const HeadlessContext context(s_width, s_height);
    if (!context.error().empty()) {
        std::printf("skipped: %s\n", context.error().c_str());
        return s_skipped;
    }
    const Image gl = drawWithGl(placed, geometry);
    if (gl.empty()) {
        std::printf("the shaders do not compile or link\n");
        return 1;
    }
    const Image reference = drawWithCairo(placed, geometry);
    if (!writePng(gl, directory + "/gl_labels.png") ||
        !writePng(reference, directory + "/cairo_labels.png")) {
        std::printf("cannot write the pictures into %s\n", directory.c_str());
        return 1;
    }
    const double share = shareDiffering(gl, reference);
    const bool leadersShown = showsLeaders(gl, placed, geometry.leaders) &&
                              showsLeaders(reference, placed, geometry.leaders);
    std::size_t drawn = 0;
    std::size_t fading = 0;
    std::size_t callouts = 0;
    for (const PlacedLabel& label : placed) {
        drawn += label.visible ? 1 : 0;
        fading += label.visible && label.opacity < 1.0f ? 1 : 0;
        callouts += label.visible && label.callout ? 1 : 0;
    }
    std::printf(
        "%zu labels drawn (%zu fading, %zu callouts) from %zu triangles; %.2f %% of the pixels "
        "drawn differ from Cairo's after a 3 x 3 blur (at most 1 %%)\n",
        drawn, fading, callouts, geometry.triangles.size() / 3, 100.0 * share);
    if (!leadersShown) {
        std::printf("a leader is missing from a picture\n");
    }
    return share <= 0.01 && leadersShown ? 0 : 1;
}
