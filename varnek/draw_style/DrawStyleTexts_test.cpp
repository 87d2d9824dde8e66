// Every display and option text of the draw-style value types, one joined
// line per lookup over the values -1 to one past the last, so that both
// out-of-range answers are pinned beside the table.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include <varnek/draw_style/DrawColorMode.h>
#include <varnek/draw_style/DrawCoordinates.h>
#include <varnek/draw_style/DrawCylinderCapping.h>
#include <varnek/draw_style/DrawDisplacement.h>
#include <varnek/draw_style/DrawLightingInterpolation.h>
#include <varnek/draw_style/DrawPatternFace.h>
#include <varnek/draw_style/DrawPatternLine.h>
#include <varnek/draw_style/DrawSizeReference.h>
#include <varnek/draw_style/DrawStyleMesh.h>
#include <varnek/draw_style/DrawSymbolPoint.h>
#include <varnek/draw_style/DrawTextAlignmentPoint.h>
#include <varnek/services/Translator.h>

namespace Varnek {
namespace {

std::string shown(const std::string& text) {
    return text;
}
std::string shown(const char* text) {
    return text != nullptr ? text : "null";
}
std::string shown(float value) {
    std::ostringstream out;
    out << value;
    return out.str();
}

// The answers for the values -1 to last + 1, each followed by ";".
template <typename Enum, typename Lookup>
std::string answers(int last, Lookup lookup) {
    std::string all;
    for (int value = -1; value <= last + 1; ++value) {
        all += shown(lookup(static_cast<Enum>(value)));
        all += ';';
    }
    return all;
}

// Every type's own context gets a translation of its "unknown" and of one
// named value, so a wrong context, a wrong source text or a missed call
// shows. The untranslated types must ignore the entries under their names.
class DrawStyleTextsTest : public ::testing::Test {
protected:
    void SetUp() override {
        Translator::addTranslation("DrawColorMode", "unknown", "?C");
        Translator::addTranslation("DrawColorMode", "Skin", "Haut");
        Translator::addTranslation("DrawPatternFace", "unknown", "?F");
        Translator::addTranslation("DrawPatternFace", "Dotted", "F:Dotted");
        Translator::addTranslation("DrawPatternLine", "unknown", "?L");
        Translator::addTranslation("DrawPatternLine", "Dotted", "L:Dotted");
        for (const char* context : {"DrawCylinderCapping", "DrawSizeReference", "DrawDisplacement",
                                    "DrawStyleMesh", "DrawSymbolPoint"}) {
            for (const char* text : {"unknown", "Unknown", "undefined", "None", "world", "Dot"}) {
                Translator::addTranslation(context, text, "translated");
            }
        }
    }
    void TearDown() override { Translator::clearTranslations(); }
};

TEST_F(DrawStyleTextsTest, DisplayTexts) {
    EXPECT_EQ(answers<DrawColorMode::Enum>(5, [](DrawColorMode m) { return m.toString(); }),
              "?C;RGB;Index;Type;Haut;?C;?C;?C;");
    EXPECT_EQ(answers<DrawPatternFace::Pattern>(8, [](DrawPatternFace p) { return p.toString(); }),
              "?F;Solid;Crosshatch;VerticalBars;HorizontalBars;SlantRight;SlantLeft;F:Dotted;"
              "Diamonds;Checkerboard;?F;");
    EXPECT_EQ(answers<DrawPatternLine::Enum>(7, DrawPatternLine::toString),
              "?L;Solid;Dashed;LongDashed;L:Dotted;FineDotted;DotDotDash;DotDash;Custom;?L;");
    EXPECT_EQ(answers<DrawCylinderCapping::Enum>(3, DrawCylinderCapping::toString),
              "unknown;None;First;Second;Both;unknown;");
    EXPECT_EQ(answers<DrawSizeReference::Enum>(5, DrawSizeReference::toString),
              "undefined;world;object;windowfraction;outerwindowfraction;pixel;point;undefined;");
    EXPECT_EQ(answers<DrawDisplacement::Enum>(4, DrawDisplacement::toString),
              "Unknown;None;Low;Medium;High;Highest;Unknown;");
    EXPECT_EQ(answers<DrawStyleMesh::Enum>(5, [](DrawStyleMesh s) { return s.toString(); }),
              "unknown;None;Filled;FilledWire;Wire;Boundary;FilledBoundary;unknown;");
    // Two glyphs have a notation but no display name.
    EXPECT_EQ(answers<DrawSymbolPoint::Enum>(42, DrawSymbolPoint::toString),
              "unknown;Dot;Star;Plus;BoldPlus;X;BoldX;FilledCircle;OpenCircle;OpenCircleWithDot;"
              "OpenCircleWithPlus;OpenCircleWithX;OpenCircleWithCircle;FilledDiamond;OpenDiamond;"
              "OpenDiamondWithDot;FilledBox;OpenBox;OpenBoxWithDot;FilledTriangleUp;"
              "FilledTriangleDown;FilledTriangleLeft;FilledTriangleRight;OpenTriangleUp;"
              "OpenTriangleDown;OpenTriangleLeft;OpenTriangleRight;Tryout;OpenEndMarker;"
              "ClosedEndMarker;FldMarker;SigmaFldNominalMarker;SigmaFldCurrentMarker;"
              "SigmaFldMedianMarker;NanMarker;CustomFilledCircle;CustomEmptyCircle;unknown;"
              "MeasuringArrow;MeasuringBar;MeasuringPoint;SimpleArrowLineEnd;SimpleBarLineEnd;"
              "unknown;unknown;");
}

TEST_F(DrawStyleTextsTest, OptionTexts) {
    // An unknown face pattern is filled solid; "\\" is one backslash.
    EXPECT_EQ(answers<DrawPatternFace::Pattern>(8, DrawPatternFace::getHoopsNotation),
              "solid;solid;##;||;==;//;\\;::;<><>;[] [];solid;");
    EXPECT_EQ(answers<DrawPatternLine::Enum>(7, DrawPatternLine::getHoopsNotation),
              "null;---;- -;-- --;...;finedot;..-;.-;custom;null;");
    EXPECT_EQ(answers<DrawCoordinates::Enum>(6, DrawCoordinates::getHoopsNotation),
              "null;object;world;viewpoint;local window;outer window;local pixels;outer pixels;"
              "null;");
    EXPECT_EQ(answers<DrawCylinderCapping::Enum>(3, DrawCylinderCapping::getHoopsNotation),
              "null;none;first;second;both;null;");
    EXPECT_EQ(
        answers<DrawLightingInterpolation::Enum>(3, DrawLightingInterpolation::getHoopsNotation),
        "null;No lighting interpolation;lighting interpolation = gouraud;"
        "lighting interpolation = phong;lighting interpolation = gooch;null;");
    EXPECT_EQ(answers<DrawSizeReference::Enum>(5, DrawSizeReference::getHoopsNotation),
              "null;wsu;oru;wru;sru;px;pt;null;");
    EXPECT_EQ(answers<DrawTextAlignmentPoint::Enum>(8, DrawTextAlignmentPoint::getHoopsNotation),
              "null;<*;<^;<v;>*;>^;>v;*;*^;*v;null;");
    EXPECT_EQ(answers<DrawDisplacement::Enum>(4, DrawDisplacement::getValue),
              "0;0;-2;-4;-6;-10;0;");
    EXPECT_EQ(answers<DrawStyleMesh::Enum>(5, DrawStyleMesh::getDrawKey),
              "null;face=off, edge=off;face=on,edge=off;face=on,edge=on;face=off, edge=on;"
              "face=off,edge=(off,perimeter=on);face=on,edge=(off,perimeter=on);null;");
    // The triangles' notations are the stored characters: "/*\\" is slash,
    // asterisk, backslash.
    EXPECT_EQ(answers<DrawSymbolPoint::Enum>(42, DrawSymbolPoint::getHoopsNotation),
              "null;.;*;+;bold+;X;boldX;@;O;(.);(+);(x);(O);<*>;<>;<.>;[*];[];[.];/*\\;\\*/;<*|;"
              "|*>;/\\;\\/;<|;|>;Tryout;OpenEndMarker;ClosedEndMarker;FldMarker;"
              "SigmaFldNominalMarker;SigmaFldCurrentMarker;SigmaFldMedianMarker;NanMarker;"
              "CustomFilledCircle;CustomEmptyCircle;CustomEmptyBoldCircle;MeasuringArrow;"
              "MeasuringBar;MeasuringPoint;SimpleArrowLineEnd;SimpleBarLineEnd;EmptyGlyph;null;");
}

}  // namespace
}  // namespace Varnek
