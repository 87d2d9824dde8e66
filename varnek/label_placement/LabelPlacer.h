// Chooses, every frame, the reference point of every label so that visible
// labels neither overlap nor leave the view nor cover another anchor, and
// without labels jumping from side to side while the camera moves.
#ifndef VARNEK_LABEL_PLACEMENT_LABELPLACER_H
#define VARNEK_LABEL_PLACEMENT_LABELPLACER_H

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include <varnek/export.h>
#include <varnek/label_placement/LabelPlacementOptions.h>
#include <varnek/label_placement/LabelRect.h>
#include <varnek/label_placement/LabelRequest.h>
#include <varnek/label_placement/PlacedLabel.h>
#include <varnek/label_shape/LabelBackground.h>
#include <varnek/services/Vector.h>

namespace Varnek {

class VARNEK_API LabelPlacer {
public:
    LabelPlacer(std::shared_ptr<const LabelBackground> defaultBackground,
                LabelPlacementOptions options);
    ~LabelPlacer();
    LabelPlacer(LabelPlacer&&) noexcept;
    LabelPlacer& operator=(LabelPlacer&&) noexcept;
    LabelPlacer(const LabelPlacer&) = delete;
    LabelPlacer& operator=(const LabelPlacer&) = delete;

    // result[i] belongs to labels[i]; the previous call is the history a
    // frame builds on.
    const std::vector<PlacedLabel>& place(const std::vector<LabelRequest>& labels);
    const std::vector<PlacedLabel>& place(const LabelRequest* labels, std::size_t count);

    // The outlines of the last result's visible labels, in request order, in
    // view coordinates (third component 0), appended to points; starts gets,
    // per outline, the index in points of its first point, then one entry
    // more: the index one past the last point appended.
    void appendOutlines(std::vector<Vector<float, 3>>& points,
                        std::vector<std::uint32_t>& starts) const;

    const LabelPlacementOptions& getOptions() const;
    void setOptions(LabelPlacementOptions options);
    // The next call of place starts without history.
    void forgetHistory();

private:
    class Impl;
    std::unique_ptr<Impl> m_impl;
};

}  // namespace Varnek

#endif  // VARNEK_LABEL_PLACEMENT_LABELPLACER_H
