#include "draw.h"

#include <algorithm>
#include <string>

#include "icons.h"
#include "palette.h"
#include "text.h"

namespace screen {

namespace {

constexpr int kCaptionHeight = 20;     // windows, bubbles and boxes
constexpr int kCloseButtonWidth = 25;  // at the taskbar's right
constexpr int kBubbleTextLeft = 22;    // the bubble's title starts after its icon
constexpr int kPadding = 4;

using palette::Rgb;

void setColour(cairo_t* cr, Rgb c) { cairo_set_source_rgb(cr, c.r / 255.0, c.g / 255.0, c.b / 255.0); }

void fill(cairo_t* cr, Box b, Rgb c) {
    setColour(cr, c);
    cairo_rectangle(cr, b.x, b.y, b.width, b.height);
    cairo_fill(cr);
}

// A one-pixel line along the inside of the box.
void frame(cairo_t* cr, Box b, Rgb c) {
    if (b.width <= 0 || b.height <= 0) return;
    setColour(cr, c);
    cairo_set_line_width(cr, 1);
    cairo_rectangle(cr, b.x + 0.5, b.y + 0.5, b.width - 1, b.height - 1);
    cairo_stroke(cr);
}

Box boxOf(const Element& e) { return {e.x, e.y, e.width, e.height}; }

Box inset(Box b, int left, int top, int right, int bottom) {
    return {b.x + left, b.y + top, std::max(0, b.width - left - right), std::max(0, b.height - top - bottom)};
}

Box captionOf(Box b) { return {b.x, b.y, b.width, std::min(b.height, kCaptionHeight)}; }

void cross(cairo_t* cr, double cx, double cy, double half, double lineWidth, Rgb c) {
    setColour(cr, c);
    cairo_set_line_width(cr, lineWidth);
    cairo_move_to(cr, cx - half, cy - half);
    cairo_line_to(cr, cx + half, cy + half);
    cairo_move_to(cr, cx + half, cy - half);
    cairo_line_to(cr, cx - half, cy + half);
    cairo_stroke(cr);
}

void drawIcon(cairo_t* cr, const Element& e) {
    const Box b = boxOf(e);
    if (b.width == 0 || b.height == 0) return;
    const SurfacePtr icon = IconCache::shared().find(std::string(e.value("res")), std::stoul(std::string(e.value("id"))));
    if (!icon) {
        // Seen at once on the picture, where a failed picture would hide the rest of the screen.
        frame(cr, b, palette::kMissingIcon);
        cross(cr, b.x + b.width / 2.0, b.y + b.height / 2.0, std::min(b.width, b.height) / 2.0 - 1, 1,
              palette::kMissingIcon);
        return;
    }
    cairo_save(cr);
    cairo_translate(cr, b.x, b.y);
    cairo_scale(cr, static_cast<double>(b.width) / cairo_image_surface_get_width(icon.get()),
                static_cast<double>(b.height) / cairo_image_surface_get_height(icon.get()));
    cairo_set_source_surface(cr, icon.get(), 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
    cairo_paint(cr);
    cairo_restore(cr);
}

TextStyle label(Rgb colour, bool bold = false, Align align = Align::left) {
    TextStyle style;
    style.colour = colour;
    style.bold = bold;
    style.align = align;
    return style;
}

Align alignOf(const Element& e) {
    const std::string_view a = e.value("align");
    return a == "center" ? Align::center : a == "right" ? Align::right : Align::left;
}

void drawCaptioned(cairo_t* cr, Box b, Rgb caption, std::string_view title, Rgb body) {
    fill(cr, b, body);
    const Box bar = captionOf(b);
    fill(cr, bar, caption);
    drawText(cr, title, inset(bar, kPadding, 0, kPadding, 0), label(palette::kCaptionText, true));
}

void drawKind(cairo_t* cr, const Element& e) {
    const Box b = boxOf(e);
    switch (e.kind) {
    case Kind::desktop:
        fill(cr, b, palette::kDesktop);
        break;
    case Kind::window:
        drawCaptioned(cr, b, e.flag("front") ? palette::kCaption : palette::kCaptionBehind, e.value("title"),
                      palette::kClient);
        break;
    case Kind::taskbar: {
        fill(cr, b, palette::kTaskbar);
        const int closeWidth = e.flag("close") ? kCloseButtonWidth : 0;
        drawText(cr, e.value("title"), inset(b, 6, 0, closeWidth, 0), label(palette::kTaskbarText, true));
        if (closeWidth)
            cross(cr, b.x + b.width - kCloseButtonWidth / 2.0, b.y + b.height / 2.0, 5, 2, palette::kTaskbarText);
        break;
    }
    case Kind::icon:
        drawIcon(cr, e);
        break;
    case Kind::bubble: {
        fill(cr, b, palette::kBubble);
        const Box bar = captionOf(b);
        fill(cr, bar, palette::kBubbleTitle);
        drawText(cr, e.value("title"), inset(bar, kBubbleTextLeft, 0, kPadding, 0), label(palette::kText, true));
        frame(cr, b, palette::kFrame);
        break;
    }
    case Kind::text: {
        TextStyle style = label(palette::kText, false, alignOf(e));
        style.markup = true;
        style.wrap = true;
        drawText(cr, e.value("markup"), b, style);
        break;
    }
    case Kind::button: {
        const bool pressed = e.flag("pressed");
        fill(cr, b, pressed ? palette::kButtonPressed : palette::kButtonFace);
        frame(cr, b, palette::kButtonFrame);
        drawText(cr, e.value("label"), inset(b, 2, 1, 2, 1),
                 label(pressed ? palette::kButtonPressedText : palette::kText, false, Align::center));
        break;
    }
    case Kind::menu:
        fill(cr, b, palette::kMenu);
        frame(cr, b, palette::kFrame);
        break;
    case Kind::item:
        if (e.flag("separator")) {
            fill(cr, {b.x + 2, b.y + b.height / 2, std::max(0, b.width - 4), 1}, palette::kSeparator);
        } else {
            drawText(cr, e.value("text"), inset(b, 8, 0, kPadding, 0),
                     label(e.flag("grayed") ? palette::kGrayedText : palette::kText));
        }
        break;
    case Kind::box:
        drawCaptioned(cr, b, palette::kCaption, e.value("caption"), palette::kBoxBody);
        frame(cr, b, palette::kFrame);
        break;
    }
}

}  // namespace

void drawElement(cairo_t* cr, const Element& element) {
    try {
        drawKind(cr, element);
    } catch (const DescriptionError&) {
        throw;
    } catch (const std::runtime_error& e) {
        throw DescriptionError(element.line, e.what());
    }
}

}  // namespace screen
