// The layer a thing is drawn in, paired with the random offset that keeps
// labels of one layer from sharing a depth. The layer is only stored; the
// offset is drawn once, by computeRandomLabelOffset, and kept for good.
#ifndef VARNEK_DRAW_STYLE_DRAWZLAYER_H
#define VARNEK_DRAW_STYLE_DRAWZLAYER_H

#include <varnek/export.h>

namespace Varnek {

class VARNEK_API DrawZLayer {
public:
    // The layers, from the back to the front.
    enum Enum : int { Background = 0, Model = 1, Annotation = 2, Label = 3, Overlay = 4 };

    // Stores both values unchecked.
    DrawZLayer(Enum layer, float randomLabelOffset) noexcept
        : m_layer(layer), m_randomLabelOffset(randomLabelOffset) {}

    // The layer.
    operator Enum() const noexcept { return m_layer; }  // NOLINT(google-explicit-constructor)

    // The offset given at construction, unchanged.
    float getRandomLabelOffset() const noexcept { return m_randomLabelOffset; }

    // A new offset in 0.0 to 1.0 from exactly one call of std::rand(): the
    // draw brought to 0 to 32767 and divided by 32767, so a draw of 32767 is
    // exactly 1.0. Never seeds the generator. From several threads at once
    // it is as safe as std::rand() of the C library (glibc's is).
    static float computeRandomLabelOffset() noexcept;

private:
    Enum m_layer;
    float m_randomLabelOffset;
};

}  // namespace Varnek

#endif  // VARNEK_DRAW_STYLE_DRAWZLAYER_H
