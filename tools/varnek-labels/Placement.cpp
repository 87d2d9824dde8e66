#include "Placement.h"

#include <algorithm>
#include <cmath>

#include <varnek/label_placement/LabelPlacer.h>
#include <varnek/label_placement/LabelRequest.h>
#include <nlohmann/json.hpp>

#include "LabelText.h"
#include "SvgDocument.h"

namespace VarnekLabels {
namespace {

// The reason's name as the enumeration spells it.
const char* toName(Varnek::LabelHiddenReason reason) {
    using Reason = Varnek::LabelHiddenReason;
    switch (reason) {
        case Reason::None:
            return "None";
        case Reason::NoRoom:
            return "NoRoom";
        case Reason::OutOfContract:
            return "OutOfContract";
        case Reason::BackgroundNotInitialized:
            return "BackgroundNotInitialized";
        case Reason::PlaceTaken:
            return "PlaceTaken";
        case Reason::BehindCamera:
            return "BehindCamera";
        case Reason::OutsideView:
            return "OutsideView";
        case Reason::Occluded:
            return "Occluded";
    }
    return "Unknown";
}

using Varnek::LabelRequest;
using Varnek::PlacedLabel;

// The drawing's line widths and marks, in view units per 1000 units of the
// view's shorter side, so that a picture looks alike at every view size.
constexpr float s_strokePerMille = 1.2f;
constexpr float s_anchorRadiusPerMille = 3.0f;
// A label's border, and the leader of a callout in the same colour.
constexpr const char* s_outlineColour = "#34507a";

nlohmann::ordered_json pairJson(float x, float y) {
    return nlohmann::ordered_json::array({toShortDouble(x), toShortDouble(y)});
}

std::string style(const char* fill, const char* stroke, float strokeWidth) {
    return std::string("fill:") + fill + ";stroke:" + stroke +
           ";stroke-width:" + formatFloat(strokeWidth);
}

// A label fading in or out is drawn at its opacity.
std::string opacityStyle(const PlacedLabel& placed) {
    return placed.opacity < 1.0f ? ";opacity:" + formatFloat(placed.opacity) : std::string();
}

}  // namespace

PlacementResult placeLabels(const PlacementRequest& request) {
    std::vector<LabelRequest> requests;
    requests.reserve(request.labels.size());
    for (const InputLabel& label : request.labels) {
        requests.push_back({label.key, label.anchor, label.size, label.priority, nullptr});
    }
    Varnek::LabelPlacementOptions options = request.options;
    options.viewport = {0.0f, 0.0f, request.viewWidth, request.viewHeight};
    Varnek::LabelPlacer placer(makeBackground(request.recipe, request.scale), options);
    const std::vector<PlacedLabel>& placed = placer.place(requests);

    PlacementResult result;
    result.placed = placed;
    result.visibleCount = static_cast<std::size_t>(std::count_if(
        placed.begin(), placed.end(), [](const PlacedLabel& p) { return p.visible; }));
    placer.appendOutlines(result.points, result.starts);
    placer.appendLeaders(result.leaders);
    return result;
}

bool isFinite(const PlacementResult& result) {
    const auto finite = [](const Vec3& v) { return std::isfinite(v[0]) && std::isfinite(v[1]); };
    const auto finiteLabel = [&finite](const PlacedLabel& label) {
        const auto& b = label.bounds;
        return !label.visible ||
               (finite(label.offset) && std::isfinite(b.left) && std::isfinite(b.top) &&
                std::isfinite(b.right) && std::isfinite(b.bottom));
    };
    return std::all_of(result.placed.begin(), result.placed.end(), finiteLabel) &&
           std::all_of(result.points.begin(), result.points.end(), finite) &&
           std::all_of(result.leaders.begin(), result.leaders.end(), finite);
}

std::string placementAsJson(const PlacementRequest& request, const PlacementResult& result) {
    nlohmann::ordered_json json;
    json["viewport"] = pairJson(request.viewWidth, request.viewHeight);
    json["visible"] = result.visibleCount;
    json["hidden"] = result.placed.size() - result.visibleCount;
    auto& labels = json["labels"] = nlohmann::ordered_json::array();
    auto leader = result.leaders.begin();
    for (std::size_t i = 0; i < result.placed.size(); ++i) {
        const PlacedLabel& placed = result.placed[i];
        nlohmann::ordered_json entry;
        entry["key"] = request.labels[i].key;
        entry["visible"] = placed.visible;
        if (placed.visible) {
            const auto& b = placed.bounds;
            entry["referencePoint"] = toName(placed.referencePoint);
            entry["offset"] = pairJson(placed.offset[0], placed.offset[1]);
            entry["bounds"] =
                nlohmann::ordered_json::array({toShortDouble(b.left), toShortDouble(b.top),
                                               toShortDouble(b.right), toShortDouble(b.bottom)});
            if (request.options.fadeFrames > 0) {
                entry["opacity"] = toShortDouble(placed.opacity);
            }
            if (placed.callout) {
                const Vec3& from = *leader++;
                const Vec3& to = *leader++;
                entry["callout"] = true;
                entry["leader"] = nlohmann::ordered_json::array(
                    {pairJson(from[0], from[1]), pairJson(to[0], to[1])});
            }
        } else {
            entry["hiddenReason"] = toName(placed.hiddenReason);
        }
        labels.push_back(std::move(entry));
    }
    return json.dump() + "\n";
}

std::string placementAsSvg(const PlacementRequest& request, const PlacementResult& result) {
    const float unit = std::min(request.viewWidth, request.viewHeight) / 1000.0f;
    const float stroke = s_strokePerMille * unit;
    const float radius = s_anchorRadiusPerMille * unit;
    SvgDocument svg(request.viewWidth, request.viewHeight);
    svg.rect(0.0f, 0.0f, request.viewWidth, request.viewHeight,
             style("#f7f8fa", "#9aa3b0", stroke));

    // Leaders first, so that each runs under the labels and ends at its
    // body's outline: two points a visible callout, in input order.
    std::size_t leader = 0;
    for (const PlacedLabel& placed : result.placed) {
        if (placed.visible && placed.callout && leader + 1 < result.leaders.size()) {
            const Vec3& from = result.leaders[leader];
            const Vec3& to = result.leaders[leader + 1];
            leader += 2;
            svg.line(from[0], from[1], to[0], to[1],
                     style("none", s_outlineColour, stroke) + ";stroke-linecap:round" +
                         opacityStyle(placed));
        }
    }
    const TextMeasure* font = request.font.get();
    const std::string textStyle = "fill:#1b1f27" + fontFamilyStyle(font);
    std::size_t outline = 0;
    for (std::size_t i = 0; i < result.placed.size(); ++i) {
        const PlacedLabel& placed = result.placed[i];
        if (!placed.visible) {
            continue;
        }
        const auto first = result.points.begin() + result.starts[outline];
        const auto last = result.points.begin() + result.starts[outline + 1];
        ++outline;
        svg.polygon(std::vector<Vec3>(first, last), style("#dce9fb", s_outlineColour, stroke) +
                                                        ";stroke-linejoin:round" +
                                                        opacityStyle(placed));
        const InputLabel& label = request.labels[i];
        if (!label.text.empty()) {
            const float fontSize = fontSizeFor(label.size[1]);
            svg.text(label.anchor[0] + placed.offset[0],
                     label.anchor[1] + placed.offset[1] + baselineBelowCentre(fontSize, font),
                     label.text, fontSize, "middle", textStyle + opacityStyle(placed));
        }
    }
    // Anchors last, so that none hides under a label.
    for (std::size_t i = 0; i < result.placed.size(); ++i) {
        const InputLabel& label = request.labels[i];
        if (!std::isfinite(label.anchor[0]) || !std::isfinite(label.anchor[1])) {
            continue;
        }
        if (result.placed[i].visible) {
            svg.circle(label.anchor[0], label.anchor[1], radius, "fill:#1b1f27");
        } else {
            svg.circle(label.anchor[0], label.anchor[1], radius,
                       style("none", "#d6342c", stroke) + ";stroke-opacity:0.8");
        }
    }
    return svg.finish();
}

}  // namespace VarnekLabels
