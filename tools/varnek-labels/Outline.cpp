#include "Outline.h"

#include <algorithm>
#include <cmath>

#include <nlohmann/json.hpp>

namespace VarnekLabels {
namespace {

std::string pairText(const Vec3& v) {
    return formatFloat(v[0]) + " " + formatFloat(v[1]);
}

nlohmann::ordered_json pairJson(const Vec3& v) {
    return nlohmann::ordered_json::array({toShortDouble(v[0]), toShortDouble(v[1])});
}

}  // namespace

LabelOutline computeOutline(const Varnek::LabelBackground& background,
                            ReferencePoint referencePoint, const Vec3& size) {
    LabelOutline outline;
    outline.bodySize = background.getBodySizeInMaskedCoordinates(referencePoint, size);
    outline.completeSize = background.getCompleteSizeInMaskedCoordinates(referencePoint, size);
    outline.offset = background.getOffset(referencePoint, size);
    outline.polygon = background.getPolygon(referencePoint, size, outline.offset);
    return outline;
}

LabelOutline computeOutline(const OutlineRequest& request) {
    const auto background = makeBackground(request.recipe, request.scale);
    return computeOutline(*background, request.referencePoint, request.size);
}

bool isFinite(const LabelOutline& outline) {
    const auto finite = [](const Vec3& v) {
        return std::isfinite(v[0]) && std::isfinite(v[1]) && std::isfinite(v[2]);
    };
    return finite(outline.bodySize) && finite(outline.completeSize) && finite(outline.offset) &&
           std::all_of(outline.polygon.begin(), outline.polygon.end(), finite);
}

std::string outlineAsText(const OutlineRequest& request, const LabelOutline& outline) {
    std::string text;
    const auto line = [&text](const char* key, const std::string& value) {
        text += key;
        text.append(18 - std::string_view(key).size(), ' ');
        text += value;
        text += '\n';
    };
    line("label", describe(request.recipe));
    line("reference point", toName(request.referencePoint));
    line("label size", pairText(request.size));
    line("scale", formatFloat(request.scale));
    line("body size", pairText(outline.bodySize));
    line("complete size", pairText(outline.completeSize));
    line("offset", pairText(outline.offset));
    line("polygon", std::to_string(outline.polygon.size()) + " points, clockwise, from the anchor");
    for (const auto& point : outline.polygon) {
        line("", pairText(point));
    }
    return text;
}

std::string outlineAsJson(const OutlineRequest& request, const LabelOutline& outline) {
    const LabelRecipe& recipe = request.recipe;
    nlohmann::ordered_json json;
    json["background"] = toName(recipe.background);
    json["indicator"] = toName(recipe.indicator);
    if (isLayered(recipe.indicator)) {
        json["bar"] = recipe.withBar;
    }
    if (recipe.fixedWidthInScreenHeightFraction > 0.0f) {
        json["fixedWidth"] = toShortDouble(recipe.fixedWidthInScreenHeightFraction);
    } else {
        json["fixedWidth"] = nullptr;
    }
    json["referencePoint"] = toName(request.referencePoint);
    json["size"] = pairJson(request.size);
    json["scale"] = toShortDouble(request.scale);
    json["bodySize"] = pairJson(outline.bodySize);
    json["completeSize"] = pairJson(outline.completeSize);
    json["offset"] = pairJson(outline.offset);
    auto& polygon = json["polygon"] = nlohmann::ordered_json::array();
    for (const auto& point : outline.polygon) {
        polygon.push_back(pairJson(point));
    }
    return json.dump() + "\n";
}

}  // namespace VarnekLabels
