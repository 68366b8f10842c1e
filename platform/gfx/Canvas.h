#pragma once

#include "platform/core/Color.h"
#include "platform/core/Geometry.h"
#include "platform/gfx/Gradient.h"
#include "platform/gfx/Path.h"
#include "platform/gfx/Text.h"

#include <functional>
#include <optional>
#include <string_view>
#include <vector>

struct _cairo;
struct _cairo_pattern;

namespace gfx {

class Bitmap;
class Image;
class TextBlock;

enum class LineCap { Butt, Round, Square };
enum class LineJoin { Miter, Round, Bevel };

// How what is drawn combines with what is already there.
enum class BlendMode {
    Normal,        // drawn over it
    DestinationIn, // keeps what is there only where something is drawn (a mask)
};

// A shadow cast by everything drawn while it is set. Offset and blur are in points of the
// canvas's base space: turning or scaling the canvas does not turn or scale the shadow.
struct Shadow {
    core::Size offset;
    float blur = 0; // about twice the standard deviation of the blur
    core::Color color = core::Color::rgba(0, 0, 0, 1.0f / 3);
};

// Draws into a bitmap. Units are points: one unit is `scale` pixels; y grows downward from the
// top-left corner. The state (transform, clip, colours, line, alpha, shadow, blend mode) is kept
// on a stack by save and restore.
//
// A transform that flattens the plane (scale 0) or a path with a point that is not a number is
// no error: nothing is drawn until the state is restored, respectively for that path.
class Canvas {
public:
    // The bitmap must outlive the canvas.
    Canvas(Bitmap& bitmap, float scale);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    float scale() const { return m_scale; }

    void save();
    // Restoring more often than saving does nothing.
    void restore();

    void translate(float dx, float dy);
    void scaleBy(float sx, float sy);
    // Radians; a positive angle turns clockwise on screen.
    void rotate(float angle);
    // Applies `transform` before the current transform (to what is drawn from now on).
    void concat(const core::AffineTransform& transform);
    // From the current units to the canvas's base points.
    const core::AffineTransform& transform() const { return m_state.transform; }
    // Replaces that transform: with the identity, units are the base points again, square to the pixels.
    void setTransform(const core::AffineTransform& transform);

    void setFillColor(const core::Color& color) { m_state.fillColor = color; }
    void setStrokeColor(const core::Color& color) { m_state.strokeColor = color; }
    void setLineWidth(float width);
    void setLineCap(LineCap cap) { m_state.lineCap = cap; }
    void setLineJoin(LineJoin join) { m_state.lineJoin = join; }
    void setMiterLimit(float limit);
    // Alternating lengths of dashes and gaps, starting `phase` units into the pattern. An empty,
    // negative or all-zero pattern draws solid lines.
    void setLineDash(std::vector<float> lengths, float phase = 0);
    // Multiplies the alpha of everything drawn (0 to 1).
    void setAlpha(float alpha);
    float alpha() const { return m_state.alpha; }
    void setShadow(const std::optional<Shadow>& shadow) { m_state.shadow = shadow; }
    void setBlendMode(BlendMode mode) { m_state.blendMode = mode; }

    void fillPath(const Path& path, FillRule rule = FillRule::NonZero);
    void strokePath(const Path& path);
    void fillRect(const core::Rect& rect);
    // Limits drawing to the inside of the path, within the current clip.
    void clipToPath(const Path& path, FillRule rule = FillRule::NonZero);
    void clipToRect(const core::Rect& rect);
    // The current clip's bounds in current units (the whole bitmap when nothing clips).
    core::Rect clipBounds() const;

    // Gradients paint the whole clip, along the line from start to end...
    void drawLinearGradient(const Gradient& gradient, core::Point start, core::Point end,
                            GradientExtension extension = {});
    // ... or between the start circle and the end circle.
    void drawRadialGradient(const Gradient& gradient, core::Point startCenter, float startRadius,
                            core::Point endCenter, float endRadius, GradientExtension extension = {});

    // Scales the image into the rectangle; an image with cap insets keeps its borders unscaled.
    void drawImage(const Image& image, const core::Rect& rect);

    // Lays the text out in the rectangle's width from its top; runs without a colour of their own
    // take the fill colour.
    void drawText(const AttributedText& text, const core::Rect& rect, const TextStyle& style = {});
    void drawText(std::string_view text, const Font& font, const core::Rect& rect,
                  const TextStyle& style = {});
    // Draws text laid out beforehand, its top-left corner at `origin`, in the colours it was laid out
    // with; the alpha, shadow and blend mode apply. Only the lines that reach the clip cost anything.
    void drawText(const TextBlock& block, core::Point origin);

private:
    struct State {
        core::AffineTransform transform;
        core::Color fillColor = core::Color::black();
        core::Color strokeColor = core::Color::black();
        float lineWidth = 1;
        LineCap lineCap = LineCap::Butt;
        LineJoin lineJoin = LineJoin::Miter;
        float miterLimit = 10;
        std::vector<double> dash;
        double dashPhase = 0;
        float alpha = 1;
        std::optional<Shadow> shadow;
        BlendMode blendMode = BlendMode::Normal;
        bool flattened = false; // the transform maps the plane to a line or a point
    };
    using Paint = std::function<void(_cairo*)>;

    void applyTransform(const core::AffineTransform& transform);
    bool setPath(_cairo* cr, const Path& path) const;
    void setSourceColor(_cairo* cr, const core::Color& color) const;
    void strokeWhole(_cairo* cr);
    void drawGradient(const Gradient& gradient, _cairo_pattern* pattern, GradientExtension extension);
    // Runs one drawing operation with the blend mode and, when one is set, the shadow.
    void perform(const Paint& paint);
    void performWithShadow(const Paint& paint, const Shadow& shadow);

    _cairo* m_cr;
    float m_scale;
    State m_state;
    std::vector<State> m_savedStates;
};

} // namespace gfx
