#include <varnek/label_placement/LabelPlacer.h>

#include <utility>

#include <varnek/label_placement/internal/LabelPlacerImpl.h>

namespace Varnek {

LabelPlacer::LabelPlacer(std::shared_ptr<const LabelBackground> defaultBackground,
                         LabelPlacementOptions options)
    : m_impl(std::make_unique<Impl>(std::move(defaultBackground), std::move(options))) {}

LabelPlacer::~LabelPlacer() = default;
LabelPlacer::LabelPlacer(LabelPlacer&&) noexcept = default;
LabelPlacer& LabelPlacer::operator=(LabelPlacer&&) noexcept = default;

const std::vector<PlacedLabel>& LabelPlacer::place(const std::vector<LabelRequest>& labels) {
    return m_impl->place(labels.data(), labels.size());
}

const std::vector<PlacedLabel>& LabelPlacer::place(const LabelRequest* labels, std::size_t count) {
    return m_impl->place(labels, count);
}

const std::vector<PlacedLabel>& LabelPlacer::place(const std::vector<LabelRequest>& labels,
                                                   const LabelScene& scene) {
    return m_impl->place(labels.data(), labels.size(), scene);
}

const std::vector<PlacedLabel>& LabelPlacer::place(const LabelRequest* labels, std::size_t count,
                                                   const LabelScene& scene) {
    return m_impl->place(labels, count, scene);
}

void LabelPlacer::appendOutlines(std::vector<Vector<float, 3>>& points,
                                 std::vector<std::uint32_t>& starts) const {
    m_impl->appendOutlines(points, starts);
}

void LabelPlacer::appendTriangles(std::vector<std::uint32_t>& indices,
                                  std::uint32_t firstPoint) const {
    m_impl->appendTriangles(indices, firstPoint);
}

void LabelPlacer::appendLeaders(std::vector<Vector<float, 3>>& points) const {
    m_impl->appendLeaders(points);
}

const LabelPlacementOptions& LabelPlacer::getOptions() const {
    return m_impl->getOptions();
}

void LabelPlacer::setOptions(LabelPlacementOptions options) {
    m_impl->setOptions(std::move(options));
}

void LabelPlacer::forgetHistory() {
    m_impl->forgetHistory();
}

}  // namespace Varnek
