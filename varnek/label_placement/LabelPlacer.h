// Chooses, every frame, the reference point of every label so that visible
// labels neither overlap nor leave the view nor cover another anchor, and
// without labels jumping from side to side while the camera moves.
//
// What a placement guarantees, for every call:
// - Two visible labels never overlap: their bounds, each grown by half the
//   gap on every side, share no interior point (touching is allowed).
// - A visible label's bounds lie wholly inside the viewport and share no
//   interior point with a keepOut rectangle or, in the 3D call, a nonzero
//   cell of the scene's coverage mask.
// - With anchorsAreObstacles, no visible label's bounds hold another
//   request's anchor strictly inside (hidden and out-of-contract requests'
//   finite anchors included); without lowerPriorityAnchorsAreObstacles,
//   another anchor of at least the label's priority.
// - bounds holds every point of the outline the label's background gives
//   for referencePoint and offset (getPolygon, moved by the anchor), and the
//   anchor itself; offset is the background's getOffset.
// - Priority comes first: for a label hidden for want of room, every
//   candidate that lies in the viewport and covers no anchor and nothing
//   kept out overlaps a visible label of at least its priority.
// - Within one priority a label shown in the previous call keeps its
//   reference point while that place stays free; the improvement moves
//   labels shown before only after trying to move others, and only to show
//   more labels. When that place is taken by a label that kept its own (the
//   camera moved them together), a label of the call's lowest priority
//   hides for this call (LabelHiddenReason::PlaceTaken) instead of jumping
//   to another side, and is placed as a new label by the next call, which
//   is then placed anew even if its requests are the same; a label of
//   higher priority moves to its first free candidate.
// - Same requests, options and history give the same result, bit for bit,
//   on every machine and compiler: the work is counted, never timed, and
//   nothing depends on hashing, addresses or threads. A call with the same
//   requests (bit for bit, backgrounds in the same state) as the previous
//   one returns the previous result unchanged, unless a label stepped back
//   in it.
// - Units: nothing depends on the units of the view coordinates, whatever
//   they are (pixels, millimetres, a view of 0..1). A placer without
//   history given a call scaled by a power of two, from 2^-20 to 2^20 of a
//   view of some hundred units (the anchors' x and y, the sizes, the
//   viewport, gap, keepOut, calloutDistance and the backgrounds' scale
//   factors), places the same labels at the same reference points, as
//   callouts or not, for the same reasons, with offset, bounds,
//   anchorInView's x and y and the leaders' ends exactly scaled; in the 3D
//   call likewise when the view lands the anchors at scaled points in its
//   scaled viewport.
// - Out-of-contract requests are hidden (LabelHiddenReason::OutOfContract):
//   a NaN or infinite anchor x or y or size component, a negative size
//   component, a NaN priority, no background at all, or a viewport that is
//   not finite or has left > right or top > bottom (then every request).
//   A background never initialised hides its labels with
//   BackgroundNotInitialized. A negative or NaN gap counts as 0.
// - Candidates: values outside -1..11 and repeats are dropped; an empty
//   list means the default order. The history goes by key; when keys repeat
//   within one call, the first request with that key gets it.
//
// Fades (fadeFrames n > 0, both calls): the placement above chooses where
// labels go; what is drawn follows it over n calls, counted in calls. A
// label placed steps its opacity up by 1/n a call from where it is (a label
// placed anew starts at 1/n); a label drawn in the previous call and no
// longer placed (hidden for want of room, culled or occluded in a 3D
// call) steps down by 1/n a call and stays drawn meanwhile where it was
// relative to its anchor now, with visible true, its reference point,
// offset and bounds, and hiddenReason saying why it goes (a callout as a
// callout, with its leader: see Callouts below). Its room is kept:
// - Labels placed while it fades keep off it, gap included, as off a
//   visible label, except those drawn in the previous call where the
//   placement put them: a label drawn in place keeps its place (it does
//   not jump for a fading one), and a fading label whose room such a label
//   takes goes at once. Only a label fading because its anchor was culled
//   may be placed again: it comes back from its opacity, where and as it
//   is drawn (beside its anchor with no leader even when placed as a
//   callout; a callout with its leader even when placed beside its
//   anchor), and keeps that place, if a label placed now could stand
//   there (beside its anchor, a place the placement allows; as a callout,
//   a body holding no anchor that keeps bodies off and a leader clear of
//   every anchor): where an anchor came into view under it, it steps back
//   (PlaceTaken) and fades on where it is drawn, rather than jump or come
//   back over that anchor. One fading for want of room is placed again
//   once it has gone, so that the label that took its room keeps it.
// - A label that goes in this very call keeps its room against labels not
//   drawn before: they are held back (hidden, NoRoom, opacity 0) until it
//   has gone. A label drawn in place that moved onto it (the camera moved
//   them together, an anchor came into view under it, or priorities
//   changed) makes it go at once, as does a place that leaves the
//   viewport, meets what is kept out, meets a label fading out before it
//   in request order (a callout's leader included), or cannot be computed
//   (anchor behind the camera, a request out of contract; for a callout
//   also a body that no longer stands off its anchor within the distance,
//   or a request whose size or background is not the one it was placed
//   with, whose body its leader's end would miss).
// So no two labels with opacity > 0 overlap (gap included), each lies in
// the viewport and off what is kept out; a label fading out may cover an
// anchor that came into view under it. Labels drawn anew never belong to
// anchors behind the camera, outside the view or occluded. Opacity is in
// [0, 1], exactly 1 when fully shown, visible is true exactly while
// opacity > 0; without fades opacity is 1 for a visible label and 0 else.
// The fade state goes by key, like the history; a request that is not the
// first with its key appears and goes at once; a label no longer requested
// goes at once. forgetHistory forgets it too.
//
// History kept: where each label was shown in the previous call (by key,
// the first request with a key), and, with fades, where each label drawn
// in the previous call is drawn, which lasts while it fades out, at most n
// calls after it was last placed. A label still drawn while fading out that
// is placed again (its anchor came back into view, or it has nearly gone
// after stepping back or for want of room) tries first the place where it
// is drawn, as a label shown in the previous call tries its place: it does
// not jump while drawn. With callouts, also where each callout's body
// stood relative to its anchor (below). Nothing else is remembered.
//
// Callouts (LabelPlacementOptions::calloutDistance d > 0, both calls): after
// the placement above, the labels it hid for want of room (NoRoom) whose
// anchors lie in the viewport are taken in its order (higher priority
// first) and each is shown as a callout (PlacedLabel::callout) at the first
// free place found, or stays hidden. Its body is the outline its background
// gives for Center at getOffset(Center) (no indicator points), moved away
// from the anchor: the body's bounds lie at most d from the anchor and do
// not hold it. Within one priority, every label whose callout stood in the
// previous call (by key, as the history goes) first takes that place
// relative to its anchor again while it is free; then the others search,
// and those whose place was taken: rings of places round the anchor,
// nearest first whatever d (the first a body's smaller side from it, the
// last at d), each moved off the label its body meets, if it meets one,
// the least way (twice at most). The work is counted, never timed: at most 96 places a label are
// tested against the labels round it. A callout keeps every guarantee of
// a visible label above (no overlap with the gap, inside the viewport, off
// what is kept out and off the rooms of labels fading out, anchors
// uncovered as anchorsAreObstacles says), and its leader, the segment from
// the anchor to the point of the body's outline nearest it or, where that
// way is taken, to a corner of the outline the anchor sees (appendLeaders):
// - shares no point with another leader;
// - has no point strictly inside another visible label's bounds grown by
//   half the gap (a body placed later is kept off earlier leaders alike);
// - passes no other request's anchor closer than half the gap, and than a
//   64th of the body's smaller side;
// - touches its own body: it ends on a point of the outline appendOutlines
//   gives (at a corner, exactly; along an edge, within float rounding).
// These, the distance d, and which corners the anchor sees (the leader
// keeps out of the body next to the corner, on the outline its background
// gives, the anchor's place relative to the body unrounded) are decided
// exactly from the floats of anchors, bounds, leaders and outlines.
// The labels shown next to their anchors are exactly those of the same call
// without callouts, bit for bit: callouts take only what is left.
//
// With fades a callout fades in and out like any label. One no longer
// placed stays drawn where its body stood relative to its anchor now, with
// its leader to the same point of the body (appendLeaders), callout true,
// referencePoint naming its side, while its opacity steps down. Its body
// keeps its room as a label fading out does, and so does its leader:
// - callouts placed while it fades keep off it as off another leader (no
//   point shared, none strictly inside their bodies grown by half the
//   gap), as they keep off the rooms of labels fading out;
// - a label or callout placed but not drawn before that it enters, or
//   whose leader meets it, is held back (hidden, NoRoom, opacity 0) until
//   it has gone: the placement beside the anchors does not see leaders;
// - a label or callout drawn in place that it enters, or whose leader
//   meets it, makes it go at once, as a label drawn in place taking a
//   fading label's room does.
// So every leader drawn, fading ones included, shares no point with
// another leader drawn, has no point strictly inside another drawn label's
// bounds grown by half the gap, and touches its own body, which lies at
// most d from its anchor and does not hold it. The clearance from other
// anchors is kept when a leader is placed: a fading leader may pass an
// anchor that came into view or moved onto it, as a fading label may cover
// one. A callout fading because its anchor was culled whose label is
// placed again comes back from its opacity as a callout where it is drawn,
// and the history keeps that place, which it tries first in the next call
// as any callout does. A label drawn in place whose leader enters the room
// of a label fading out makes that label go at once, and a callout drawn
// anew whose leader enters such a room is held back like a label.
//
// Allocation: a frame allocates nothing once the placer's buffers have grown
// to its size, that is after a call with at least as many labels (in a 3D
// call, and with fades, as many in view and fading out), whose
// sizes and backgrounds the frame reuses, each drawn before at the
// reference point (or as the callout) it is drawn at now: new sizes or
// backgrounds add cached shapes, and a shape drawn at a reference point or
// as a callout for the first time adds its outline to the cache, which may
// then grow (an indicator or derived background outside the library may
// also allocate in its own queries). appendOutlines and appendTriangles
// allocate only when the caller's vectors must grow.
//
// Threads: a placer is used by one thread at a time. Different placers may
// run at the same time, sharing backgrounds, which they only query (const):
// no thread may initialise a shared background while placers use it.
//
// Exceptions: if place throws (std::bad_alloc, or whatever a background's
// query throws), the exception reaches the caller and the placer is left
// as after forgetHistory, with an empty result and no outlines: the next
// call places its frame as a fresh placer would. The references place
// returned before are then invalid, as after any call of place.
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
#include <varnek/label_placement/LabelScene.h>
#include <varnek/label_placement/PlacedLabel.h>
#include <varnek/label_shape/LabelBackground.h>
#include <varnek/services/Vector.h>

namespace Varnek {

class VARNEK_API LabelPlacer {
public:
    // A placer without history, drawing labels that name no background of
    // their own with defaultBackground, which must stay alive as long as the
    // placer (it shares it); options as for setOptions.
    LabelPlacer(std::shared_ptr<const LabelBackground> defaultBackground,
                LabelPlacementOptions options);

    // Movable, not copyable.
    ~LabelPlacer();
    LabelPlacer(LabelPlacer&&) noexcept;
    LabelPlacer& operator=(LabelPlacer&&) noexcept;
    LabelPlacer(const LabelPlacer&) = delete;
    LabelPlacer& operator=(const LabelPlacer&) = delete;

    // result[i] belongs to labels[i]; the previous call is the history a
    // frame builds on. A request's background must stay alive until the
    // next call (the outlines are drawn from it); shapes are cached by the
    // background's address and scale factors, so a background destroyed and
    // another made at its address between calls needs forgetHistory. The
    // reference stays valid until the next call of place, setOptions or
    // forgetHistory.
    const std::vector<PlacedLabel>& place(const std::vector<LabelRequest>& labels);
    const std::vector<PlacedLabel>& place(const LabelRequest* labels, std::size_t count);

    // A frame of a 3D view: the requests' anchors are world coordinates.
    // Each is projected with scene.view; an anchor that is not finite is
    // out of contract (as is every one when the view's viewport is not
    // finite or inverted), one behind the camera (clip w <= 0, window depth
    // outside [0, 1], or a NaN clip coordinate, as a NaN in the matrix gives)
    // is hidden with BehindCamera, one whose
    // projected point lies outside the view's viewport (edges are inside)
    // with OutsideView, and one the depth image hides with Occluded. The
    // others are placed as the 2D call places requests at their projected
    // points, in request order, with every guarantee above, and the history
    // by key is shared with the 2D call. Only their anchors are obstacles:
    // an anchor culled or occluded can be covered. anchorInView tells
    // where each anchor landed; a hidden label's bounds are the empty
    // rectangle there. Labels lie inside the options' viewport, which is
    // usually the view's.
    const std::vector<PlacedLabel>& place(const std::vector<LabelRequest>& labels,
                                          const LabelScene& scene);
    const std::vector<PlacedLabel>& place(const LabelRequest* labels, std::size_t count,
                                          const LabelScene& scene);

    // The outlines of the last result's visible labels, in request order, in
    // view coordinates (third component 0), appended to points; starts gets,
    // per outline, the index in points of its first point, then one entry
    // more: the index one past the last point appended. setOptions and
    // forgetHistory leave them as they are.
    void appendOutlines(std::vector<Vector<float, 3>>& points,
                        std::vector<std::uint32_t>& starts) const;
    // Fill triangles of the outlines appendOutlines appends, for a renderer
    // that fills triangles: indices into its points, firstPoint being
    // points.size() before that call, three a triangle. Per outline, the
    // triangles LabelBackground::getPolygonTriangles gives for it: each
    // turning as the outline does, with an area, together covering it once.
    // Allocates only when indices must grow.
    void appendTriangles(std::vector<std::uint32_t>& indices, std::uint32_t firstPoint) const;
    // The leaders of the last result's callouts (PlacedLabel::callout), in
    // request order, in view coordinates (third component 0), appended to
    // points: two points a leader, the anchor first, then the leader's end
    // on the body's outline. Allocates only when points must grow.
    void appendLeaders(std::vector<Vector<float, 3>>& points) const;

    // The options the next call of place uses.
    const LabelPlacementOptions& getOptions() const;
    // Takes effect from the next call of place; the history by key is kept,
    // cached shapes are dropped.
    void setOptions(LabelPlacementOptions options);
    // The next call of place starts without history (and without cached
    // shapes' owners assumed alive).
    void forgetHistory();

private:
    class Impl;
    std::unique_ptr<Impl> m_impl;
};

}  // namespace Varnek

#endif  // VARNEK_LABEL_PLACEMENT_LABELPLACER_H
