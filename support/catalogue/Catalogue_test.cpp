#include <gtest/gtest.h>

#include <set>
#include <string>

#include <catalogue/DrawStyleTypes.h>
#include <catalogue/LabelKinds.h>

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

TEST(LabelKindsTest, JoinsNames) {
    EXPECT_EQ(joinNames({"a", "b", "c"}, ", ", " or "), "a, b or c");
    EXPECT_EQ(joinNames({"a"}, ", ", " or "), "a");
}

}  // namespace
}  // namespace VarnekCatalogue
