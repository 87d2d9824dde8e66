#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include <catalogue/DrawStyleTypes.h>
#include <catalogue/LabelKinds.h>

#include <varnek/label_shape/LayeredLabelIndicator.h>

namespace VarnekCatalogue {
namespace {

// Each type's range is the library's: the value after the last answers as
// out of range does (as -1), and every named value has a text of its own
// ("-" names a reserved value without one). A value the library gains
// without a catalogue name, or a name without a value, fails here.
TEST(DrawStyleTypesTest, RangesAreTheLibrarys) {
    for (const DrawStyleType& type : drawStyleTypes()) {
        SCOPED_TRACE(type.name);
        const std::set<std::string> distinct(type.valueNames.begin(), type.valueNames.end());
        EXPECT_GT(type.valueCount(), 0);
        const auto textsOf = [&type](int value) {
            std::vector<std::optional<std::string>> texts;
            for (const ValueColumn& column : type.columns) {
                texts.push_back(column.text(value));
            }
            if (type.optionText.text != nullptr) {
                texts.push_back(std::optional<std::string>(
                    type.optionText.text(value) ? type.optionText.text(value) : "(null)"));
            }
            return texts;
        };
        const auto outOfRange = textsOf(-1);
        EXPECT_EQ(textsOf(type.valueCount()), outOfRange);
        for (int value = 0; value < type.valueCount(); ++value) {
            const std::string& name = type.valueNames[static_cast<std::size_t>(value)];
            if (name != "-") {
                EXPECT_EQ(distinct.count(name), 1u);
                if (!type.columns.empty()) {
                    EXPECT_NE(textsOf(value), outOfRange) << name;
                }
            }
        }
    }
}

TEST(LabelKindsTest, EveryShapeTakesEveryIndicator) {
    std::set<std::string> names;
    for (const BackgroundShapeRow& shape : backgroundShapes()) {
        names.insert(shape.name);
        for (const IndicatorKindRow& kind : indicatorKinds()) {
            const auto background = makeBackground(shape.shape, kind.kind, {true, true, 0.01f});
            ASSERT_NE(background, nullptr);
            EXPECT_EQ(background->getIndicator() != nullptr,
                      shape.carriesIndicator && kind.make != nullptr)
                << shape.name << " / " << kind.name;
        }
    }
    for (const IndicatorKindRow& kind : indicatorKinds()) {
        names.insert(kind.name);
    }
    for (const char* name : referencePointNames()) {
        names.insert(name);
    }
    EXPECT_EQ(names.size(), s_backgroundShapeCount + s_indicatorKindCount + s_referencePointCount);
    EXPECT_EQ(referencePoints().back(), Varnek::LabelBackground::Center);
}

std::string readFile(const std::filesystem::path& path) {
    std::ifstream file(path);
    return {std::istreambuf_iterator<char>(file), {}};
}

// Every factory the library's label-shape headers declare, and the
// constructor of every shape class that has none, stands behind a row: a
// shape or an indicator kind the library gains without a row fails here,
// and so does a row naming what the library no longer has.
TEST(LabelKindsTest, EveryFactoryOfTheLibraryHasARow) {
    // "static std::unique_ptr<Class> createName(" and
    // "class VARNEK_API Class final : public LabelBackground {".
    const std::regex factory(R"(static\s+std::\w+_ptr<(\w+)>\s+(create\w+)\s*\()");
    const std::regex shape(R"(class\s+VARNEK_API\s+(\w+)\s+(?:final\s+)?:\s*public\s+)"
                           R"(Label(?:Background|Indicator)\s*\{)");
    std::set<std::string> declared;
    for (const auto& entry : std::filesystem::directory_iterator(VARNEK_LABEL_SHAPE_HEADERS)) {
        if (entry.path().extension() != ".h") {
            continue;
        }
        const std::string text = readFile(entry.path());
        std::set<std::string> withFactory;
        for (std::sregex_iterator m(text.begin(), text.end(), factory), end; m != end; ++m) {
            declared.insert((*m)[1].str() + "::" + (*m)[2].str());
            withFactory.insert((*m)[1]);
        }
        for (std::sregex_iterator m(text.begin(), text.end(), shape), end; m != end; ++m) {
            if (withFactory.count((*m)[1]) == 0) {
                declared.insert((*m)[1].str() + "::" + (*m)[1].str());
            }
        }
    }
    std::set<std::string> rows;
    for (const BackgroundShapeRow& row : backgroundShapes()) {
        rows.insert(row.factory);
    }
    for (const IndicatorKindRow& kind : indicatorKinds()) {
        if (kind.factory != nullptr) {
            rows.insert(kind.factory);
        }
    }
    EXPECT_EQ(rows, declared);
}

// Every layer of the layered indicator, as its header declares them, has
// the kind named after it ("layered-" and the enumerator in lower case),
// which makes the indicator of that layer: a layer the library gains without
// a row fails here.
TEST(LabelKindsTest, EveryLayerHasARow) {
    using Varnek::LayeredLabelIndicator;
    const std::string text =
        readFile(std::string(VARNEK_LABEL_SHAPE_HEADERS) + "/LayeredLabelIndicator.h");
    // "enum Layer : int { Lower = 0, Middle = 1, Upper = 2 };"
    std::smatch layers;
    ASSERT_TRUE(std::regex_search(text, layers, std::regex(R"(enum Layer : int \{([^}]*)\})")));
    const std::string enumerators = layers[1];
    const std::regex enumerator(R"((\w+)(?:\s*=\s*(\d+))?)");
    int value = 0;
    for (std::sregex_iterator m(enumerators.begin(), enumerators.end(), enumerator), end; m != end;
         ++m, ++value) {
        const std::string name = (*m)[1];
        if ((*m)[2].matched) {
            value = std::stoi((*m)[2]);
        }
        std::string kindName = "layered-";
        for (const char c : name) {
            kindName += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
        const auto& kinds = indicatorKinds();
        const auto row =
            std::find_if(kinds.begin(), kinds.end(),
                         [&](const IndicatorKindRow& kind) { return kind.name == kindName; });
        ASSERT_NE(row, kinds.end()) << name;
        const auto layer = LayeredLabelIndicator::createLayeredLabelIndicator(
            true, static_cast<LayeredLabelIndicator::Layer>(value), false, 0.0f);
        std::vector<Varnek::Vector<float, 3>> madePoints;
        std::vector<Varnek::Vector<float, 3>> layerPoints;
        row->make({true, false, 0.0f})
            ->addPolygonPointsInClockwiseOrder(Varnek::LabelBackground::TopLeft, {4, 2, 0},
                                               madePoints);
        layer->addPolygonPointsInClockwiseOrder(Varnek::LabelBackground::TopLeft, {4, 2, 0},
                                                layerPoints);
        EXPECT_TRUE(madePoints == layerPoints) << kindName;
    }
}

TEST(LabelKindsTest, JoinsNames) {
    EXPECT_EQ(joinNames({"a", "b", "c"}, ", ", " or "), "a, b or c");
    EXPECT_EQ(joinNames({"a"}, ", ", " or "), "a");
}

}  // namespace
}  // namespace VarnekCatalogue
