// Everything the library offers, in one include: the version, the
// draw-style vocabulary, the label shapes, the label placer and the
// sibling-library interfaces they build on.
//
// Threads: the draw-style vocabulary holds no state of its own. Its types are
// values, and every function of it may run on any thread at the same time as
// any other, on the same value or on different ones, as long as no thread
// assigns to a value that another reads. Display names read the process-wide
// translations, which may be added or cleared meanwhile: a name is then the
// source text or one of the translations registered for it. The label shapes
// state their own rules (LabelBackground.h).
//
// Exceptions: the functions of the vocabulary that return text or build a
// value holding text (display names, option texts, pattern definitions,
// colour texts) throw std::bad_alloc when memory runs out, and then nothing
// that existed before the call has changed, as does
// DrawStyleMesh::getVisibleTypes, which builds its set from a list. The rest
// throw nothing and are declared noexcept.
//
// Allocations: the notations (getHoopsNotation, getDrawKey), isValid, next,
// building the type sets from a list and asking them for a type,
// ColorRGB::toStringAt, DrawSymbolPoint::getGlyphColorAsChars and
// DrawZLayer::computeRandomLabelOffset allocate nothing; ColorRGB::toString
// allocates its text once.
#ifndef VARNEK_VARNEK_H
#define VARNEK_VARNEK_H

#include <varnek/version.h>

#include <varnek/services/CompositeCurve.h>
#include <varnek/services/Curve.h>
#include <varnek/services/Point.h>
#include <varnek/services/PolyLine.h>
#include <varnek/services/Translator.h>
#include <varnek/services/Vector.h>
#include <varnek/services/VkSpline.h>

#include <varnek/draw_style/ColorRGB.h>
#include <varnek/draw_style/DrawColorMode.h>
#include <varnek/draw_style/DrawCoordinates.h>
#include <varnek/draw_style/DrawCustomPatternDefinitionLine.h>
#include <varnek/draw_style/DrawCylinderCapping.h>
#include <varnek/draw_style/DrawDisplacement.h>
#include <varnek/draw_style/DrawLightingInterpolation.h>
#include <varnek/draw_style/DrawPatternFace.h>
#include <varnek/draw_style/DrawPatternLine.h>
#include <varnek/draw_style/DrawSelectableTypesCollection.h>
#include <varnek/draw_style/DrawShaderAffectedTypesCollection.h>
#include <varnek/draw_style/DrawSizeReference.h>
#include <varnek/draw_style/DrawSkinAffectedTypesCollection.h>
#include <varnek/draw_style/DrawStyleMesh.h>
#include <varnek/draw_style/DrawSymbolPoint.h>
#include <varnek/draw_style/DrawTextAlignmentPoint.h>
#include <varnek/draw_style/DrawVisibleTypesCollection.h>
#include <varnek/draw_style/DrawZLayer.h>

#include <varnek/label_shape/BalloonLabelBackground.h>
#include <varnek/label_shape/LabelBackground.h>
#include <varnek/label_shape/LabelIndicator.h>
#include <varnek/label_shape/LayeredLabelIndicator.h>
#include <varnek/label_shape/SymmetricCornerLabelBackground.h>
#include <varnek/label_shape/TriangularLabelIndicator.h>

#include <varnek/label_placement/CoverageMask.h>
#include <varnek/label_placement/DepthImage.h>
#include <varnek/label_placement/LabelPlacementOptions.h>
#include <varnek/label_placement/LabelPlacer.h>
#include <varnek/label_placement/LabelRect.h>
#include <varnek/label_placement/LabelRequest.h>
#include <varnek/label_placement/LabelScene.h>
#include <varnek/label_placement/LabelView.h>
#include <varnek/label_placement/PlacedLabel.h>

#endif  // VARNEK_VARNEK_H
