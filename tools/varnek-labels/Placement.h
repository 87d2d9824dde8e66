// The place subcommand: many labels placed in one view by the library's
// placer, written as JSON for programs or as SVG for people.
#ifndef VARNEK_LABELS_PLACEMENT_H
#define VARNEK_LABELS_PLACEMENT_H

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <varnek/label_placement/LabelPlacementOptions.h>
#include <varnek/label_placement/PlacedLabel.h>

#include "LabelRecipe.h"
#include "NumberText.h"
#include "PlacementInput.h"
#include "TextMeasure.h"

namespace VarnekLabels {

struct PlacementRequest {
    LabelRecipe recipe;
    float scale = 1.0f;  // masked-coordinate length of one screen height
    // The view is (0, 0)-(width, height); options.viewport is set from it.
    float viewWidth = 0.0f;
    float viewHeight = 0.0f;
    Varnek::LabelPlacementOptions options;
    std::vector<InputLabel> labels;
    // The font the texts were measured in and are drawn in; null for none.
    std::shared_ptr<const TextMeasure> font;
};

struct PlacementResult {
    // placed[i] belongs to labels[i]. Every label goes to the placer, which
    // hides the ones it cannot place (OutOfContract) and keeps their finite
    // anchors as obstacles.
    std::vector<Varnek::PlacedLabel> placed;
    std::size_t visibleCount = 0;
    // The visible labels' outlines in view coordinates, as appendOutlines
    // writes them: outline k is points[starts[k]] to points[starts[k + 1]].
    std::vector<Vec3> points;
    std::vector<std::uint32_t> starts;
    // The leaders of the visible callouts, as appendLeaders writes them: two
    // points a callout in request order, the anchor first, then the end on
    // the body's outline.
    std::vector<Vec3> leaders;
};

PlacementResult placeLabels(const PlacementRequest& request);

// False if a visible label's offset or bounds, an outline point or a
// leader's point is infinite or NaN.
bool isFinite(const PlacementResult& result);

// {"viewport": [W, H], "visible": n, "hidden": m, "labels": [...]}, labels in
// input order: {"key", "visible": true, "referencePoint", "offset": [x, y],
// "bounds": [left, top, right, bottom]}, a callout with "callout": true and
// "leader": [[x, y], [x, y]] (the anchor first) added, and "opacity" with
// fades (options.fadeFrames > 0), or {"key", "visible": false,
// "hiddenReason": "NoRoom" (or "OutOfContract", ...)}. Every
// float reads back to the placer's exact value.
std::string placementAsJson(const PlacementRequest& request, const PlacementResult& result);

// The view, the callouts' leaders, every visible label's outline with its
// text over them, and every anchor: filled for a visible label, a hollow
// ring for a hidden one.
std::string placementAsSvg(const PlacementRequest& request, const PlacementResult& result);

}  // namespace VarnekLabels

#endif  // VARNEK_LABELS_PLACEMENT_H
