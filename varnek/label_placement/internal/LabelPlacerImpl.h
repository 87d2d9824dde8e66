// The placer's state and algorithm behind LabelPlacer's interface. Private to
// the library's sources; not installed.
#ifndef VARNEK_LABEL_PLACEMENT_INTERNAL_LABELPLACERIMPL_H
#define VARNEK_LABEL_PLACEMENT_INTERNAL_LABELPLACERIMPL_H

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include <varnek/label_placement/LabelPlacer.h>
#include <varnek/label_placement/internal/AnchorGrid.h>
#include <varnek/label_placement/internal/KeyTable.h>
#include <varnek/label_placement/internal/ShapeCache.h>
#include <varnek/label_placement/internal/UniformGrid.h>
#include <varnek/label_placement/internal/VisibleLabelGrid.h>

namespace Varnek {

// Hidden: nested in an exported class it would otherwise be exported too.
class VARNEK_NO_EXPORT LabelPlacer::Impl {
public:
    Impl(std::shared_ptr<const LabelBackground> defaultBackground, LabelPlacementOptions options);

    const std::vector<PlacedLabel>& place(const LabelRequest* labels, std::size_t count);
    void appendOutlines(std::vector<Vector<float, 3>>& points,
                        std::vector<std::uint32_t>& starts) const;
    const LabelPlacementOptions& getOptions() const { return m_options; }
    void setOptions(LabelPlacementOptions options);
    void forgetHistory() noexcept;

private:
    using ReferencePoint = LabelBackground::ReferencePoint;

    // Whether a request can take part in the placement at all.
    enum class Status : std::uint8_t { Placeable, OutOfContract, NotInitialized };

    static constexpr std::int16_t s_hidden = -1;
    // At most the twelve placed reference points and Center.
    static constexpr std::size_t s_maxCandidates = 13;

    void placeFrame(const LabelRequest* labels, std::size_t count);
    void readRequests(const LabelRequest* labels, std::size_t count);
    void layOutGrids(std::size_t count);
    void orderForGreedy(std::size_t count);
    void placeGreedily();
    void writeResult(const LabelRequest* labels, std::size_t count);
    void writeOutlines(std::size_t count);
    void keepHistory(std::size_t count);

    // The label's rectangle at a candidate, in view coordinates; grown by
    // half the gap on every side.
    LabelRect getBounds(std::uint32_t label, std::size_t candidate) const;
    LabelRect getGrownBounds(std::uint32_t label, std::size_t candidate) const;
    // Inside the viewport and, if asked, covering no other anchor.
    bool isAllowed(std::uint32_t label, std::size_t candidate);
    // Overlaps a visible label other than itself.
    bool conflictsWithVisible(std::uint32_t label, std::size_t candidate) const;
    void show(std::uint32_t label, std::size_t candidate);
    void hide(std::uint32_t label);

    std::shared_ptr<const LabelBackground> m_defaultBackground;
    LabelPlacementOptions m_options;
    std::vector<ReferencePoint> m_candidates;
    // Candidate index of every reference point + 1 (Center at 0), or -1.
    std::array<std::int16_t, s_maxCandidates> m_candidateOfReferencePoint{};
    bool m_viewportValid = false;
    float m_halfGap = 0.0f;

    internal::ShapeCache m_shapes;
    internal::UniformGrid m_layout;
    internal::AnchorGrid m_anchors;
    internal::VisibleLabelGrid m_visible;

    // The previous call's labels by key, and what each showed: its
    // reference point + 1, or s_hidden.
    internal::KeyTable m_previousKeys;
    internal::KeyTable m_currentKeys;
    std::vector<std::int16_t> m_previousReferencePoints;

    // Per label of the current frame.
    std::vector<Status> m_status;
    std::vector<float> m_x;
    std::vector<float> m_y;
    std::vector<float> m_priority;
    std::vector<std::uint8_t> m_anchorListed;
    std::vector<std::uint32_t> m_shape;
    std::vector<std::int16_t> m_previous;  // candidate shown in the previous call, or s_hidden
    std::vector<std::int16_t> m_chosen;    // candidate shown now, or s_hidden
    std::vector<std::uint16_t> m_checked;
    std::vector<std::uint16_t> m_allowed;
    std::vector<std::uint32_t> m_order;

    std::vector<PlacedLabel> m_result;
    std::vector<Vector<float, 3>> m_outlinePoints;
    std::vector<std::uint32_t> m_outlineStarts;
};

}  // namespace Varnek

#endif  // VARNEK_LABEL_PLACEMENT_INTERNAL_LABELPLACERIMPL_H
