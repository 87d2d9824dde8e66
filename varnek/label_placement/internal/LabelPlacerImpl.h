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
#include <varnek/label_placement/internal/AnchorProjection.h>
#include <varnek/label_placement/internal/BoxGrid.h>
#include <varnek/label_placement/internal/CalloutRings.h>
#include <varnek/label_placement/internal/CandidateLanes.h>
#include <varnek/label_placement/internal/FrameAllocator.h>
#include <varnek/label_placement/internal/KeepOutArea.h>
#include <varnek/label_placement/internal/KeyTable.h>
#include <varnek/label_placement/internal/LeaderGrid.h>
#include <varnek/label_placement/internal/RadixSort.h>
#include <varnek/label_placement/internal/ShapeCache.h>
#include <varnek/label_placement/internal/UniformGrid.h>
#include <varnek/label_placement/internal/VisibleLabelGrid.h>

namespace Varnek {

// Hidden: nested in an exported class it would otherwise be exported too.
class VARNEK_NO_EXPORT LabelPlacer::Impl {
public:
    Impl(std::shared_ptr<const LabelBackground> defaultBackground, LabelPlacementOptions options);

    const std::vector<PlacedLabel>& place(const LabelRequest* labels, std::size_t count);
    // World anchors: projected, culled and depth-tested, the rest placed as
    // by place (LabelPlacerView.cpp).
    const std::vector<PlacedLabel>& place(const LabelRequest* labels, std::size_t count,
                                          const LabelScene& scene);
    void appendOutlines(std::vector<Vector<float, 3>>& points,
                        std::vector<std::uint32_t>& starts) const;
    void appendTriangles(std::vector<std::uint32_t>& indices, std::uint32_t firstPoint) const;
    // LabelPlacerCallouts.cpp.
    void appendLeaders(std::vector<Vector<float, 3>>& points) const;
    const LabelPlacementOptions& getOptions() const { return m_options; }
    void setOptions(LabelPlacementOptions options);
    void forgetHistory() noexcept;

private:
    using ReferencePoint = LabelBackground::ReferencePoint;
    // The placer counts in four spaces. A request is numbered by its place in
    // the caller's array; a label by its place in the greedy order (the
    // placeable ones first, m_labels), which the passes after the set-up use.
    // A candidate is numbered by its place in the order of preference
    // (m_candidates); a lane is one of a shape's distinct candidate
    // rectangles (CandidateLanes), shared by candidates with the same one.
    using RequestIndex = std::uint32_t;
    using LabelIndex = std::uint32_t;
    using CandidateIndex = std::size_t;
    using LaneIndex = std::size_t;

    // Whether a request can take part in the placement at all.
    // SteppedBack: shown in the previous call, its place is taken now and it
    // hides for this call rather than jump to another (see placeGreedily).
    enum class Status : std::uint8_t { Placeable, OutOfContract, NotInitialized, SteppedBack };

    static constexpr std::int16_t s_hidden = -1;
    // Above every lane: the allowed lanes are not yet known.
    static constexpr std::uint16_t s_allowedLanesUnknown = 0x8000u;
    // At most the twelve placed reference points and Center.
    static constexpr std::size_t s_maxCandidates = 13;
    static_assert(s_maxCandidates <= internal::s_candidateLanes, "a lane for every candidate");

    // What the placer reads of a label again and again, in one place.
    struct LabelState {
        float x;
        float y;
        float priority;
        std::uint32_t shape;
        std::int16_t previous;  // candidate shown in the previous call, or s_hidden
        std::int16_t chosen;    // candidate shown now, or s_hidden
        // Bit j set for every lane of rectangles inside the viewport
        // covering no other anchor; s_allowedLanesUnknown until needed.
        std::uint16_t allowedLanes;
        Status status;
        std::uint8_t locked;  // part of the ejection chain being tried
        std::uint8_t moved;   // moved or hidden by the improvement, in m_moved
        std::uint8_t pooled;  // among the search's hidden labels (m_hiddenLabels)
        // Searched by the clean-up, with no place found (see cleanUp).
        std::uint8_t checked;
        // With fades: drawn in the previous call where it was placed (not
        // fading out).
        std::uint8_t drawnInPlace;
    };

    void placeFrame(const LabelRequest* labels, std::size_t count);
    // Leaves the placer as after forgetHistory, without a result.
    void dropFrame() noexcept;
    // A frame of the 3D call (scene set) or of the 2D call with fades: the
    // requests that take part in the placement, given to it in order, and
    // its result spread back to request order (LabelPlacerView.cpp).
    const std::vector<PlacedLabel>& placeSelected(const LabelRequest* labels, std::size_t count,
                                                  const LabelScene* scene);
    void selectRequests(const LabelRequest* labels, std::size_t count, const LabelScene* scene);
    void spreadResult();
    // The request of a label of such a placement.
    std::uint32_t requestOfLabel(std::uint32_t label) const {
        return m_requestOfInView[m_requestOf[label]];
    }

    // Fades (LabelPlacerFades.cpp). The previous call's drawn labels and
    // keys for this call's requests; sameKeys: the keys are the previous
    // call's, in the same order.
    void matchFades(const LabelRequest* labels, std::size_t count, bool sameKeys);
    // Whether a label drawn in the previous call fades out where it was
    // shown; whether it still takes part in the placement (it may come
    // back). culled: why its anchor is hidden now, None in view.
    enum class FadeOut : std::uint8_t { No, Placed, Apart };
    struct DrawnLabel;
    FadeOut fadesOut(const DrawnLabel& drawn, LabelHiddenReason culled) const;
    // Notes a label drawn in the previous call that may fade out, at its
    // anchor (x, y) in view now; whether it is placed all the same.
    bool noteFading(const DrawnLabel& drawn, LabelHiddenReason culled, float x, float y);
    // Where a label fading out stays, if it can: at shown (reference point
    // + 1), or as the callout drawn (its entry in m_drawnCallouts, else
    // s_notDrawn), inside the viewport, off what is kept out and off the
    // labels fading out before it; noted in m_fadingOut.
    bool keepFadingRoom(const LabelRequest& request, std::uint32_t self, std::int16_t shown,
                        std::uint32_t callout, float x, float y);
    // The rooms of the labels found to fade out before the placement, kept
    // free in it.
    void reserveFadingRooms(const LabelRequest* labels);
    // What is drawn, from the placement's targets.
    const std::vector<PlacedLabel>& composeFades(const LabelRequest* labels, std::size_t count);
    void forgetFades() noexcept;
    // Whether the label's request was drawn in the previous call where it
    // was placed (not fading out).
    bool isDrawnInPlace(LabelIndex label) const { return m_labels[label].drawnInPlace != 0; }
    // Whether the request at index inView of the placement fades out apart
    // from it: it is not placed, and its anchor keeps labels off as the
    // anchor of a label stepping back does.
    bool fadesApart(std::size_t inView) const {
        const std::uint32_t drawn = m_drawnOfInView[inView];
        return drawn != s_notDrawn &&
               fadesOut(m_drawn[drawn], LabelHiddenReason::None) == FadeOut::Apart;
    }
    // The candidate at which the label's request was drawn in the previous
    // call, or s_hidden.
    std::int16_t getDrawnPlace(LabelIndex label) const {
        const std::uint32_t drawn = m_drawnOfInView[label];
        // A callout (shown s_hidden) keeps no place.
        return drawn != s_notDrawn && m_drawn[drawn].shown != s_hidden
                   ? m_candidateOfReferencePoint[static_cast<std::size_t>(m_drawn[drawn].shown)]
                   : s_hidden;
    }
    // The background of a request with a label shown (which has one).
    const LabelBackground& backgroundOf(const LabelRequest& request) const {
        return request.background != nullptr ? *request.background : *m_defaultBackground;
    }
    bool isSameAsLastCall(const LabelRequest* labels, std::size_t count) const;
    void readRequests(const LabelRequest* labels, std::size_t count);
    void layOutGrids(std::size_t count);
    void orderForGreedy(std::size_t count);
    // Sorts m_order by key, then by label.
    void sortOrder();
    void placeGreedily();
    void improve();
    void cleanUp();
    void writeResult(const LabelRequest* labels, std::size_t count);
    void keepHistory();

    // The label's rectangle at a candidate, in view coordinates; grown by
    // half the gap on every side.
    LabelRect getBounds(LabelIndex label, CandidateIndex candidate) const {
        const LabelState& state = m_labels[label];
        const LabelRect& bounds = m_shapes.getCandidate(state.shape, candidate).bounds;
        return {state.x + bounds.left, state.y + bounds.top, state.x + bounds.right,
                state.y + bounds.bottom};
    }
    LabelRect getGrownBounds(LabelIndex label, CandidateIndex candidate) const {
        return grow(getBounds(label, candidate));
    }
    // Inside the viewport and, if asked, covering no other anchor. The
    // greedy pass finds it for a label with room; for a label whose every
    // place it found taken, when first needed.
    bool isAllowed(LabelIndex label, CandidateIndex candidate) {
        const LabelState& state = m_labels[label];
        return (getAllowedLanes(label) >> m_shapes.getCandidate(state.shape, candidate).lane &
                1u) != 0;
    }
    std::uint32_t getAllowedLanes(LabelIndex label) {
        const std::uint16_t allowed = m_labels[label].allowedLanes;
        return allowed != s_allowedLanesUnknown ? allowed : findAllowedLanes(label);
    }
    std::uint32_t findAllowedLanes(LabelIndex label);
    template <typename Lanes, typename Stop>
    bool noteObstacleAnchors(LabelIndex label, const LabelRect& area, Lanes& lanes,
                             Stop&& stop) const;
    template <typename Lanes>
    std::uint32_t findPlacesInView(LabelIndex label, const Lanes& lanes) const;
    // The visible labels the candidate overlaps, in m_blockers (sorted);
    // stops counting above limit.
    std::size_t collectBlockers(LabelIndex label, CandidateIndex candidate, std::size_t limit);
    // Holds every candidate of the label (every one that is not NaN).
    LabelRect getSpanArea(LabelIndex label) const {
        const LabelState& state = m_labels[label];
        const LabelRect& span = m_shapes.getSpan(state.shape);
        return {state.x + span.left, state.y + span.top, state.x + span.right,
                state.y + span.bottom};
    }
    // rect grown by half the gap on every side.
    LabelRect grow(const LabelRect& rect) const {
        return {rect.left - m_halfGap, rect.top - m_halfGap, rect.right + m_halfGap,
                rect.bottom + m_halfGap};
    }
    // The greedy pass's test: bit j set for every lane j of the label's
    // rectangles (see ShapeCache) that is allowed and overlaps no visible
    // label. Notes which are allowed.
    std::uint32_t findFreeLanes(LabelIndex label);
    // Whether label other is of at least the given priority, so that its
    // anchor blocks when only those do (requests that cannot be placed
    // count as of the lowest).
    bool blocksAnchorsOfPriority(std::uint32_t other, float priority) const {
        const LabelState& state = m_labels[other];
        return (state.status == Status::Placeable || state.status == Status::SteppedBack) &&
               state.priority >= priority;
    }
    // The improvement's test: per lane of the label's rectangles, the
    // visible labels it overlaps grown by the gap.
    void findBlockers(LabelIndex label, internal::CandidateBlockers& blockers) const;
    void show(LabelIndex label, CandidateIndex candidate);
    void hide(LabelIndex label);
    // Shown in the previous call at the place it has now.
    bool isSettled(LabelIndex label) const;

    // The improvement moves: the work they may still do, ejection chains
    // and the search.
    bool spend();
    bool insertWithChain(LabelIndex label, int depth, bool moveSettled);
    bool relocate(LabelIndex label, std::int16_t from, int depth, bool moveSettled);
    // How many labels a chain may move, at the options' effort.
    int getChainDepth() const;
    // How many times the work of effort 1 doubles at the options' effort
    // (at least 1), capped.
    unsigned int getEffortDoublings() const;
    bool displaceBlocker(LabelIndex label, CandidateIndex k, LabelIndex blocker, int depth,
                         bool moveSettled);
    // A seeded local search from the chains' result, keeping the best
    // arrangement it meets (LabelPlacerSearch.cpp).
    void search();
    // Whether the search may hide the label to show one of the given
    // priority.
    bool mayEject(LabelIndex label, float priority) const;
    // How many labels the label hides by taking candidate k (in m_blockers):
    // at most two the search may eject, else more than two.
    std::size_t countEjected(LabelIndex label, CandidateIndex k);
    // Whether a hidden label of the search has an allowed place it may take.
    bool isAnyMovePossible();
    // Takes a random hidden label of the search, or returns false.
    bool pickHidden(LabelIndex& label);
    void addHidden(LabelIndex label);
    // Returns to the best arrangement the search has met.
    void returnToBest();
    // Notes that a label left a place (once per label and frame).
    void markMoved(LabelIndex label);
    // Holds every anchor whose label can overlap one of the label's candidates.
    LabelRect getNeighbourhood(LabelIndex label) const;
    std::uint64_t nextRandom();

    // Callouts (LabelPlacerCallouts.cpp): the labels the placement hid for
    // want of room, in greedy order, shown away from their anchors.
    void placeCallouts();
    // Shows the label at the place its callout had in the previous call,
    // relative to its anchor, if that is free (previousOnly), or else at the
    // first free place of the search round its anchor.
    bool searchCallout(LabelIndex label, bool previousOnly);
    // The visible labels, anchors and leaders round a label, in the m_near
    // lists.
    void gatherNearCallout(LabelIndex label, const LabelRect& area, float clearance);
    // Shows the label's body moved by (dx, dy) from where Center puts it,
    // with its leader to the nearest point of its outline (outline[0..count)
    // relative to the moved origin), if that keeps every guarantee. Where
    // the body leaves the view or meets a visible label, (moveX, moveY) is
    // the least move that takes it off.
    // Counts a try when it gets to the labels round it. Without movesOn
    // no move off a label is wanted.
    bool tryCallout(LabelIndex label, float dx, float dy, const Vector<float, 3>* outline,
                    std::uint32_t count, float clearance, bool movesOn, int& tries, float& moveX,
                    float& moveY);
    // The rest of tryCallout, for a body that meets no label round it.
    // Whether the body's bounds hold an anchor that keeps the label's
    // callout bodies off, within the neighbourhood gathered last.
    bool holdsAnchor(LabelIndex label, const LabelRect& bounds) const;
    bool placeCalloutIfFree(LabelIndex label, float dx, float dy, const LabelRect& bounds,
                            const Vector<float, 3>* outline, std::uint32_t count, float clearance);
    // Whether an anchor but the label's own lies within the clearance of its
    // leader, within the neighbourhood gathered last.
    bool holdsAnchorNear(LabelIndex label, const internal::Segment& leader, float clearance) const;
    // The same, asking the anchors' grid rather than the neighbourhood (a
    // point shared by several labels, the label's own among them, counts).
    bool gridHoldsAnchorNear(LabelIndex label, const internal::Segment& leader,
                             float clearance) const;
    // Whether the label's leader enters none of the labels, anchors and
    // leaders round.
    bool isLeaderFree(LabelIndex label, const internal::Segment& leader, float clearance) const;
    // The result entry and the outline of a callout (writeResult).
    void writeCallout(const LabelRequest& labelRequest, std::uint32_t callout, PlacedLabel& placed,
                      std::size_t& outlinePoints);
    // Fades: whether a leader of a request other than self (drawn in the
    // previous call where it is placed, if asked) enters the rectangle; the
    // callouts whose leaders enter it are held back.
    bool leaderEntersRect(const LabelRect& rect, std::uint32_t self, bool drawnInPlaceOnly) const;
    void holdCalloutsCrossing(const LabelRect& rect);
    bool isCallout(LabelIndex label) const {
        return !m_calloutOfLabel.empty() && m_calloutOfLabel[label] != s_noCallout;
    }

    // Callouts fading out (LabelPlacerFadingCallouts.cpp). Where the callout
    // drawn in the previous call stands with its anchor at (x, y) now; false
    // when that cannot be computed.
    bool findFadingCallout(const LabelRequest& request, std::uint32_t callout, float x, float y,
                           LabelRect& bounds, internal::Segment& leader);
    // Whether a callout of the label with this body and leader holds no
    // anchor that keeps bodies off and passes no anchor, as one placed now.
    bool calloutClearsAnchors(LabelIndex label, const LabelRect& bounds,
                              const internal::Segment& leader) const;
    // How far a callout's leader keeps from other anchors.
    float getLeaderClearance(const LabelRect& body) const;
    // Whether the anchor of label other keeps the body of a callout of
    // the given priority off.
    bool keepsCalloutBodiesOff(LabelIndex other, float priority) const {
        return m_options.anchorsAreObstacles && (m_options.lowerPriorityAnchorsAreObstacles ||
                                                 blocksAnchorsOfPriority(other, priority));
    }
    // Whether a room grown by half the gap, and a leader (null: none), meet
    // a label fading out noted before (through m_fadingRoomGrid).
    bool meetsFadingLabels(const LabelRect& grown, const internal::Segment* leader) const;
    // Lists m_fadingOut in m_fadingRoomGrid anew, entry for entry; lists
    // one entry more, the one added last.
    void indexFadingRooms();
    struct FadingLabel;
    void listFadingRoom(const FadingLabel& fading);
    // Whether a label or callout drawn in the previous call where it is
    // placed now meets the leader of the callout fading out of request self.
    bool isFadingLeaderTaken(const internal::Segment& leader, std::uint32_t self) const;
    // Holds back the labels and callouts placed now that the leader enters
    // or meets (none drawn in place: those cut the fading callout off).
    void holdLabelsCrossing(const internal::Segment& leader, std::uint32_t self);
    // Lists the leaders of the callouts known to fade out before the
    // placement, which callouts placed now keep off; with room for as many
    // leaders as requests, each in as many cells.
    void listFadingLeaders(std::size_t room, std::size_t cellsPerLeader);
    // The result entry of a callout fading out in its room.
    struct OutlineLabel;
    void writeFadingCallout(const LabelRequest& request, const FadingLabel& room,
                            PlacedLabel& placed, OutlineLabel& outline);
    // Notes what is drawn of a callout for the next call: its place, and
    // its leader for appendLeaders; its entry in m_nextDrawnCallouts.
    struct DrawnCallout;
    std::uint32_t noteDrawnCallout(const DrawnCallout& place, const internal::Segment& leader);
    // The history of a label fading out as a callout that is placed again:
    // it keeps the callout's place.
    void keepFadingCalloutPlace(std::size_t inView, std::uint32_t drawnCallout);

    // Where the per-frame arrays below come from: first, so that it outlives
    // them.
    internal::FrameArena m_arena;
    // The count of labels its chunk was made for.
    std::size_t m_arenaLabels = 0;
    template <typename T>
    internal::FrameVector<T> makeFrameVector() {
        return internal::FrameVector<T>(internal::FrameAllocator<T>(&m_arena));
    }

    std::shared_ptr<const LabelBackground> m_defaultBackground;
    LabelPlacementOptions m_options;
    std::vector<ReferencePoint> m_candidates;
    // Candidate index of every reference point + 1 (Center at 0), or -1.
    std::array<std::int16_t, s_maxCandidates> m_candidateOfReferencePoint{};
    bool m_viewportValid = false;
    float m_halfGap = 0.0f;

    internal::ShapeCache m_shapes;
    // The options' rectangles and the frame's mask, kept out.
    internal::KeepOutArea m_keepOut;
    // The cells of the anchors, and the larger ones of the visible labels.
    internal::UniformGrid m_layout;
    internal::UniformGrid m_visibleLayout;
    internal::AnchorGrid m_anchors{&m_arena};
    internal::VisibleLabelGrid m_visible{&m_arena};

    // The previous call's labels by key, and what each showed: its
    // reference point + 1, or s_hidden.
    internal::KeyTable m_previousKeys{&m_arena};
    internal::KeyTable m_currentKeys{&m_arena};
    internal::FrameVector<std::int16_t> m_previousReferencePoints = makeFrameVector<std::int16_t>();

    // What of a background's state makes its shapes: its scale factors and
    // whether it was initialised; zero for no background.
    struct BackgroundState {
        float scale;
        float indicatorScale;
        bool initialized;

        static BackgroundState of(const LabelBackground* background);
        // Bit for bit.
        bool isSameAs(const BackgroundState& other) const;
    };
    // The previous call's requests, to answer an unchanged frame with the
    // same result. Their anchors' x and y and their priorities are in the
    // labels' state as read, in request order (m_read), which stays until
    // the next call reads its requests; their keys and anchors' z are kept
    // apart. Neighbouring requests mostly share their background and their
    // size: each is noted once per run of requests with the same one, at
    // the run's first request, a background with the state it had.
    struct BackgroundRun {
        RequestIndex first;
        const LabelBackground* background;
        BackgroundState state;
    };
    struct SizeRun {
        RequestIndex first;
        Vector<float, 3> size;
    };
    bool m_hasLastCall = false;
    internal::FrameVector<std::uint64_t> m_lastKeys = makeFrameVector<std::uint64_t>();
    internal::FrameVector<float> m_lastDepths = makeFrameVector<float>();
    std::vector<BackgroundRun> m_lastBackgroundRuns;
    std::vector<SizeRun> m_lastSizeRuns;

    // Per request, as read; then per label, numbered in greedy order (the
    // placeable ones first), with the maps between the two numberings.
    internal::FrameVector<LabelState> m_read = makeFrameVector<LabelState>();
    internal::FrameVector<LabelState> m_labels = makeFrameVector<LabelState>();
    internal::FrameVector<RequestIndex> m_requestOf = makeFrameVector<RequestIndex>();
    internal::FrameVector<LabelIndex> m_labelOf = makeFrameVector<LabelIndex>();
    std::size_t m_placeable = 0;
    // Whether a label stepped back in this call.
    bool m_anySteppedBack = false;
    internal::FrameVector<float> m_anchorX = makeFrameVector<float>();
    internal::FrameVector<float> m_anchorY = makeFrameVector<float>();
    internal::FrameVector<std::uint8_t> m_anchorListed = makeFrameVector<std::uint8_t>();
    // How far a candidate reaches from its anchor, at most, this frame.
    float m_reach = 0.0f;
    // The distance of this frame's callouts (the option's, resolved); 0 none.
    float m_calloutDistance = 0.0f;
    // A label here is a request's index.
    using OrderKey = internal::OrderKey;
    internal::FrameVector<OrderKey> m_order = makeFrameVector<OrderKey>();
    internal::FrameVector<OrderKey> m_orderScratch = makeFrameVector<OrderKey>();
    // The blockers of one place and the labels moved, of which a frame has
    // few: from the heap, whose pages are made only where written.
    std::vector<LabelIndex> m_blockers;
    internal::FrameVector<LabelIndex> m_hiddenLabels = makeFrameVector<LabelIndex>();
    std::vector<LabelIndex> m_moved;
    // While the search runs: every show and hide, with the candidate the
    // label had before, since the best arrangement it met.
    struct JournalEntry {
        LabelIndex label;
        std::int16_t chosen;
    };
    internal::FrameVector<JournalEntry> m_journal = makeFrameVector<JournalEntry>();
    std::size_t m_shown = 0;
    std::uint64_t m_work = 0;
    std::uint64_t m_random = 0;
    bool m_journaling = false;
    bool m_mixedPriorities = false;
    // True: the anchors of the callout search's neighbourhood were too many
    // to gather (m_nearAnchors and its two lists are empty); its tests ask
    // the anchors' grid instead.
    bool m_nearAnchorsCrowd = false;
    // The lowest priority of a placeable label in this call.
    float m_lowestPriority = 0.0f;

    std::vector<PlacedLabel> m_result;

    // Callouts of the frame, in the order they were placed, and per label
    // its callout or s_noCallout (empty without callouts).
    static constexpr std::uint32_t s_noCallout = 0xFFFFFFFFu;
    struct Callout {
        LabelIndex label;
        // How far the body was moved from the anchor: the body's outline
        // moved by the anchor plus this. Kept for the next call, so that a
        // callout that keeps its place keeps its offset bit for bit while
        // its anchor moves.
        float dx;
        float dy;
        LabelRect bounds;
        internal::Segment leader;
        // Where the leader ends, from the moved origin: (x + dx + endX, y +
        // dy + endY).
        float endX;
        float endY;
    };
    std::vector<Callout> m_callouts;
    std::vector<std::uint32_t> m_calloutOfLabel;
    internal::LeaderGrid m_leaderGrid;
    // How far each request's callout body was moved, by request of the
    // previous call (NaN: none), and of this call.
    struct CalloutShift {
        float dx;
        float dy;
    };
    std::vector<CalloutShift> m_calloutShifts;
    std::vector<CalloutShift> m_nextCalloutShifts;
    // The places of the rings round an anchor, in the order they are
    // tried, for labels of shape m_ringShape (s_noCallout: none yet).
    std::vector<CalloutShift> m_ringShifts;
    std::uint32_t m_ringShape = s_noCallout;
    // Round the label being placed as a callout: visible labels (grown by
    // half the gap), anchors, leaders.
    struct NearAnchor {
        float x;
        float y;
    };
    std::vector<LabelRect> m_nearRects;
    // Their sides apart, for the test of a block at a time, padded with NaN
    // to whole blocks (FirstOverlap.h).
    std::vector<float> m_nearLefts;
    std::vector<float> m_nearTops;
    std::vector<float> m_nearRights;
    std::vector<float> m_nearBottoms;
    std::vector<NearAnchor> m_nearAnchors;
    // The anchors of m_nearAnchors that keep bodies off, apart.
    std::vector<float> m_nearBodyAnchorXs;
    std::vector<float> m_nearBodyAnchorYs;
    std::vector<internal::Segment> m_nearLeaders;
    // The leaders in request order.
    std::vector<internal::Segment> m_leaders;

    // The 3D call: the anchors in view (one slot per request), as 2D
    // requests, the request each came from, and the result in request
    // order.
    internal::AnchorProjection m_projection;
    std::vector<internal::AnchorInView> m_anchorsInView;
    std::vector<LabelRequest> m_inView;
    std::vector<std::uint32_t> m_requestOfInView;
    std::vector<PlacedLabel> m_sceneResult;

    // Per visible label, in request order, its anchor and its outline
    // relative to it in the shape cache: appendOutlines adds the two.
    struct OutlineLabel {
        float x;
        float y;
        internal::ShapeCache::OutlineRange outline;
    };
    internal::FrameVector<OutlineLabel> m_outlineLabels = makeFrameVector<OutlineLabel>();
    std::size_t m_outlinePointCount = 0;
    // Their fill triangles' indices, in all.
    std::size_t m_outlineTriangleIndexCount = 0;
    internal::FrameVector<std::uint32_t> m_outlineStarts = makeFrameVector<std::uint32_t>();

    // Fades. The labels the previous call drew (opacity > 0), in request
    // order: how far faded in (1..m_fadeFrames), what each showed
    // (reference point + 1) and why it was fading out (None when it was
    // not). Every other request is at level 0: the fade state costs per
    // drawn label, not per request.
    struct DrawnLabel {
        std::uint32_t request;
        std::int32_t level;
        std::int16_t shown;
        LabelHiddenReason fadingFor;
        // A callout's entry in m_drawnCallouts (shown is s_hidden), or
        // s_notDrawn.
        std::uint32_t callout;
    };
    std::vector<DrawnLabel> m_drawn;
    std::vector<DrawnLabel> m_nextDrawn;
    // Where each callout drawn stood, relative to its anchor, as Callout
    // says, and the size and background it was placed with: the leader's
    // end lies on that body's outline only.
    struct DrawnCallout {
        float dx;
        float dy;
        float endX;
        float endY;
        Vector<float, 3> size;
        const LabelBackground* background;
    };
    std::vector<DrawnCallout> m_drawnCallouts;
    std::vector<DrawnCallout> m_nextDrawnCallouts;
    // The leaders drawn, in request order (appendLeaders while fading).
    std::vector<internal::Segment> m_fadeLeaders;
    // The leaders of the callouts known to fade out before the placement,
    // by their entry in m_fadingOut.
    internal::LeaderGrid m_fadingLeaderGrid;
    std::vector<std::uint32_t> m_fadingLeaderRequests;
    // The previous call's keys, in request order, and per request whether
    // it was the first with its key. Only the first request with a key
    // fades; the others appear and vanish at once. A call with the same
    // keys in the same order keeps both as they are.
    std::vector<std::uint64_t> m_fadeKeys;
    std::vector<std::uint8_t> m_fadeFirst;
    bool isFirstWithKey(std::uint32_t request) const {
        return m_fadeKeysUnique || m_fadeFirst[request] != 0;
    }
    internal::KeyTable m_fadeKeyTable;
    // Per label placed in this call (in m_inView): its entry in m_drawn, or
    // s_notDrawn.
    static constexpr std::uint32_t s_notDrawn = 0xFFFFFFFFu;
    std::vector<std::uint32_t> m_drawnOfInView;
    // Whether the placement reads m_drawnOfInView: it places the labels of
    // a call with fades.
    bool m_drawnPlaces = false;
    // Labels fading out where they were, in request order.
    struct FadingLabel {
        std::uint32_t request;
        std::uint32_t candidate;
        LabelRect bounds;
        // A callout: its entry in m_drawnCallouts (candidate is unused) and
        // its leader; else s_notDrawn.
        std::uint32_t callout;
        internal::Segment leader;
        // Placed again and drawn back from its room.
        bool comesBack = false;
    };
    std::vector<FadingLabel> m_fadingOut;
    // The rooms of m_fadingOut by cell, each listed by its reach (its
    // bounds grown by half the gap, and its leader), entry for entry, so
    // that a room is tested against the rooms near it only.
    internal::BoxGrid m_fadingRoomGrid;
    // Before the placement: the labels that may fade out and where their
    // anchors are; the rooms kept for them.
    struct FadeCandidate {
        std::uint32_t request;
        float x;
        float y;
        std::int16_t shown;
        std::uint32_t callout;
    };
    std::vector<FadeCandidate> m_fadeCandidates;
    std::vector<internal::KeepOutArea::Room> m_rooms;
    // The labels the placement shows (their indices in m_inView), in
    // order: what is drawn is composed from them and the labels drawn.
    std::vector<std::uint32_t> m_visibleInView;
    // Per label placed (in m_inView): held back while a fading label has
    // its room.
    std::vector<std::uint8_t> m_held;
    // The drawn labels' outlines, when fading.
    internal::FrameVector<OutlineLabel> m_fadeOutlineLabels = makeFrameVector<OutlineLabel>();
    internal::FrameVector<std::uint32_t> m_fadeOutlineStarts = makeFrameVector<std::uint32_t>();
    std::size_t m_fadeOutlinePointCount = 0;
    std::size_t m_fadeTriangleIndexCount = 0;
    // The n of the levels in m_drawn.
    int m_fadeFrames = 0;
    // Whether the previous frame kept rooms for labels fading out.
    bool m_hadRooms = false;
    // Whether the last result was faded: its outlines are the ones above.
    bool m_fading = false;
    // Whether every request is the first with its key (m_fadeFirst all 1),
    // so that it need not be read.
    bool m_fadeKeysUnique = false;
};

}  // namespace Varnek

#endif  // VARNEK_LABEL_PLACEMENT_INTERNAL_LABELPLACERIMPL_H
