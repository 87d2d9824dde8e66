// The yardstick of the callout search: a plain greedy pass over a few fixed
// places round each anchor, written here from the guarantees rather than
// from the library's search.
#ifndef VARNEK_BENCH_CALLOUTBASELINE_H
#define VARNEK_BENCH_CALLOUTBASELINE_H

#include <cstddef>
#include <vector>

#include <varnek/label_placement/LabelRect.h>
#include <varnek/label_placement/PlacedLabel.h>
#include <varnek/varnek.h>

#include "PlacementInstances.h"

namespace VarnekBench {

// From a placement without callouts of the scene, every label it hid whose
// anchor lies in the view, in request order, takes the first free place of
// 3 rings of 16 directions (the body's bounds d/3, 2d/3 and d from the
// anchor, clockwise from straight above) or stays hidden. A place is free
// as the library's guarantees say: the body (the Center outline's bounds,
// no pointer) in the view, overlapping no visible label or earlier
// callout, holding no anchor; its leader (anchor to the nearest point of
// the body's bounds) meets no earlier leader, enters no visible label and
// passes no other anchor closer than a 64th of the body's smaller side; no
// earlier leader enters the body. Brute force over the scene: a yardstick
// of share, not of time. Returns how many callouts it shows.
std::size_t placeCalloutsGreedily(const PlacementScene& scene,
                                  const Varnek::LabelBackground& background,
                                  const std::vector<Varnek::PlacedLabel>& placed, float distance);

}  // namespace VarnekBench

#endif  // VARNEK_BENCH_CALLOUTBASELINE_H
