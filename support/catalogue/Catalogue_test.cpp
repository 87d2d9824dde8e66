#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
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

// The declaration that starts at at, to its first parenthesis, brace or
// semicolon, each run of white space made one space.
std::string declarationAt(const std::string& text, std::size_t at) {
    std::string declaration;
    for (std::size_t i = at;
         i < text.size() && declaration.find_first_of("({;") == std::string::npos; ++i) {
        if (std::isspace(static_cast<unsigned char>(text[i])) == 0) {
            declaration += text[i];
        } else if (!declaration.empty() && declaration.back() != ' ') {
            declaration += ' ';
        }
    }
    return declaration;
}

std::string qualified(const std::string& type, const std::string& member) {
    std::string name = type;
    name += "::";
    name += member;
    return name;
}

// Every factory the library's label-shape headers declare, and the
// constructor of every shape class that has none, stands behind a row: a
// shape or an indicator kind the library gains without a row fails here,
// and so does a row naming what the library no longer has.
TEST(LabelKindsTest, EveryFactoryOfTheLibraryHasARow) {
    std::set<std::string> declared;
    for (const auto& entry : std::filesystem::directory_iterator(VARNEK_LABEL_SHAPE_HEADERS)) {
        if (entry.path().extension() != ".h") {
            continue;
        }
        std::ifstream file(entry.path());
        const std::string text{std::istreambuf_iterator<char>(file), {}};
        // "static std::unique_ptr<Class> createName(" and
        // "class VARNEK_API Class final : public LabelBackground {".
        std::set<std::string> withFactory;
        for (auto at = text.find("static std::"); at != std::string::npos;
             at = text.find("static std::", at + 1)) {
            const std::string factory = declarationAt(text, at);
            const auto open = factory.find("_ptr<");
            const auto close = factory.find("> create");
            if (open != std::string::npos && close != std::string::npos && factory.back() == '(') {
                const std::string type = factory.substr(open + 5, close - open - 5);
                declared.insert(
                    qualified(type, factory.substr(close + 2, factory.size() - close - 3)));
                withFactory.insert(type);
            }
        }
        const std::string classStart = "class VARNEK_API ";
        for (auto at = text.find(classStart); at != std::string::npos;
             at = text.find(classStart, at + 1)) {
            const std::string shape = declarationAt(text, at);
            const std::string type = shape.substr(
                classStart.size(), shape.find(' ', classStart.size()) - classStart.size());
            const bool derived = shape.find(": public LabelBackground {") != std::string::npos ||
                                 shape.find(": public LabelIndicator {") != std::string::npos;
            if (derived && withFactory.count(type) == 0) {
                declared.insert(qualified(type, type));
            }
        }
    }
    std::set<std::string> rows;
    for (const BackgroundShapeRow& shape : backgroundShapes()) {
        rows.insert(shape.factory);
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
    std::ifstream file(std::string(VARNEK_LABEL_SHAPE_HEADERS) + "/LayeredLabelIndicator.h");
    const std::string text{std::istreambuf_iterator<char>(file), {}};
    // "enum Layer : int { Lower = 0, Middle = 1, Upper = 2 };"
    const std::string start = "enum Layer : int {";
    const auto at = text.find(start);
    ASSERT_NE(at, std::string::npos);
    std::istringstream enumerators(
        text.substr(at + start.size(), text.find('}', at) - at - start.size()));
    int value = 0;
    for (std::string enumerator; std::getline(enumerators, enumerator, ',');) {
        std::istringstream parts(enumerator);
        std::string name;
        std::string equals;
        if (!(parts >> name)) {
            continue;
        }
        if (parts >> equals) {
            parts >> value;
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
        const auto made = row->make({true, false, 0.0f});
        const auto layer = LayeredLabelIndicator::createLayeredLabelIndicator(
            true, static_cast<LayeredLabelIndicator::Layer>(value), false, 0.0f);
        std::vector<Varnek::Vector<float, 3>> madePoints;
        std::vector<Varnek::Vector<float, 3>> layerPoints;
        made->addPolygonPointsInClockwiseOrder(Varnek::LabelBackground::TopLeft, {4, 2, 0},
                                               madePoints);
        layer->addPolygonPointsInClockwiseOrder(Varnek::LabelBackground::TopLeft, {4, 2, 0},
                                                layerPoints);
        EXPECT_TRUE(madePoints == layerPoints) << kindName;
        ++value;
    }
}

TEST(LabelKindsTest, JoinsNames) {
    EXPECT_EQ(joinNames({"a", "b", "c"}, ", ", " or "), "a, b or c");
    EXPECT_EQ(joinNames({"a"}, ", ", " or "), "a");
}

}  // namespace
}  // namespace VarnekCatalogue
