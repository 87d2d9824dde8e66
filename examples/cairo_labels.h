// Drawing a frame's labels with Cairo, as the placer gives them: each drawn
// label's outline filled and bordered at its opacity (so fading labels fade),
// its text centred in the body, and the leaders of callouts. orbit_render draws its frames with it;
// gl_labels draws the same labels with OpenGL ES and compares the two.
#ifndef VARNEK_EXAMPLES_CAIRO_LABELS_H
#define VARNEK_EXAMPLES_CAIRO_LABELS_H

#include "orbit_scene.h"

#include <cairo.h>

#include <cstdint>
#include <string>
#include <vector>

namespace cairo_labels {

struct Colour {
    double red;
    double green;
    double blue;
};

// The colours both renderers use, so that their pictures can be compared.
constexpr Colour s_fill = {1.0, 0.973, 0.863};  // cornsilk
constexpr Colour s_border = {0.2, 0.2, 0.2};
constexpr double s_borderWidth = 1.0;

// The leaders of the callouts among placed, at their labels' opacity: the
// k-th callout drawn has the k-th pair of points of leaders.
inline void drawLeaders(cairo_t* cr, const std::vector<Varnek::PlacedLabel>& placed,
                        const std::vector<Varnek::Vector<float, 3>>& leaders) {
    cairo_set_line_width(cr, s_borderWidth);
    std::size_t leader = 0;
    for (const Varnek::PlacedLabel& label : placed) {
        if (label.visible && label.callout && leader + 1 < leaders.size()) {
            cairo_move_to(cr, leaders[leader][0], leaders[leader][1]);
            cairo_line_to(cr, leaders[leader + 1][0], leaders[leader + 1][1]);
            cairo_set_source_rgba(cr, s_border.red, s_border.green, s_border.blue, label.opacity);
            cairo_stroke(cr);
            leader += 2;
        }
    }
}

// Draws the labels of one frame: the leaders first, so that each ends
// under its label's border, then each label drawn. texts (one per request)
// may be null: no text.
inline void drawLabels(cairo_t* cr, const std::vector<Varnek::PlacedLabel>& placed,
                       const orbit::LabelGeometry& geometry,
                       const std::vector<std::string>* texts) {
    cairo_save(cr);
    drawLeaders(cr, placed, geometry.leaders);
    cairo_set_line_width(cr, s_borderWidth);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_MITER);
    cairo_select_font_face(cr, "sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, 11.0);
    std::size_t outline = 0;
    for (std::size_t i = 0; i < placed.size(); ++i) {
        if (!placed[i].visible) {
            continue;  // opacity 0: nothing to draw, and no outline was appended
        }
        const double opacity = placed[i].opacity;
        cairo_new_path(cr);
        for (std::uint32_t p = geometry.starts[outline]; p < geometry.starts[outline + 1]; ++p) {
            cairo_line_to(cr, geometry.points[p][0], geometry.points[p][1]);
        }
        ++outline;
        cairo_close_path(cr);  // the last point joins the first
        cairo_set_source_rgba(cr, s_fill.red, s_fill.green, s_fill.blue, opacity);
        cairo_fill_preserve(cr);
        cairo_set_source_rgba(cr, s_border.red, s_border.green, s_border.blue, opacity);
        cairo_stroke(cr);
        if (texts != nullptr) {
            // The offset leads from the anchor to the body's centre.
            const Varnek::Vector<float, 3>& anchor = placed[i].anchorInView;
            const double x = anchor[0] + placed[i].offset[0];
            const double y = anchor[1] + placed[i].offset[1];
            const char* text = (*texts)[i].c_str();
            cairo_text_extents_t extents;
            cairo_text_extents(cr, text, &extents);
            cairo_move_to(cr, x - extents.width / 2.0 - extents.x_bearing,
                          y - extents.height / 2.0 - extents.y_bearing);
            cairo_set_source_rgba(cr, 0.0, 0.0, 0.0, opacity);
            cairo_show_text(cr, text);
        }
    }
    cairo_restore(cr);
}

}  // namespace cairo_labels

#endif  // VARNEK_EXAMPLES_CAIRO_LABELS_H
