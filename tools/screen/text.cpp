#include "text.h"

#include <stdexcept>
#include <string>

#include <pango/pangocairo.h>

#include "cairo_handles.h"

namespace screen {

namespace {

// IPA Gothic first, so that Japanese and Latin text share one face as on the device.
constexpr const char* kFamilies = "IPAGothic,IPAPGothic,Sans";

// Finding and loading fonts is most of a first picture's time: one font map and context serve
// all the process's pictures (drawn one at a time, see render.cpp).
class Fonts {
public:
    Fonts() : map_(PANGO_FONT_MAP(pango_cairo_font_map_new())), context_(pango_font_map_create_context(map_.get())) {
        cairo_font_options_t* options = cairo_font_options_create();
        cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
        cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
        cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
        pango_cairo_context_set_font_options(context_.get(), options);
        cairo_font_options_destroy(options);
    }

    PangoContext* context() const { return context_.get(); }

    static Fonts& shared() {
        static Fonts fonts;
        return fonts;
    }

private:
    GObjectPtr<PangoFontMap> map_;
    GObjectPtr<PangoContext> context_;
};

void setMarkup(PangoLayout* layout, std::string_view text) {
    GError* error = nullptr;
    PangoAttrList* attributes = nullptr;
    char* plain = nullptr;
    if (!pango_parse_markup(text.data(), static_cast<int>(text.size()), 0, &attributes, &plain, nullptr, &error)) {
        const std::string message = error ? error->message : "unknown reason";
        g_clear_error(&error);
        throw std::runtime_error("bad markup: " + message);
    }
    pango_layout_set_text(layout, plain, -1);
    pango_layout_set_attributes(layout, attributes);
    pango_attr_list_unref(attributes);
    g_free(plain);
}

}  // namespace

void drawText(cairo_t* cr, std::string_view text, Box box, const TextStyle& style) {
    if (text.empty() || box.width <= 0 || box.height <= 0) return;
    GObjectPtr<PangoLayout> owned(pango_layout_new(Fonts::shared().context()));
    PangoLayout* layout = owned.get();

    PangoFontDescription* font = pango_font_description_from_string(kFamilies);
    pango_font_description_set_absolute_size(font, style.pixelSize * PANGO_SCALE);
    pango_font_description_set_weight(font, style.bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
    pango_layout_set_font_description(layout, font);
    pango_font_description_free(font);

    if (style.markup)
        setMarkup(layout, text);
    else
        pango_layout_set_text(layout, text.data(), static_cast<int>(text.size()));
    pango_layout_set_width(layout, box.width * PANGO_SCALE);
    if (style.wrap) {
        pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
    } else {
        pango_layout_set_ellipsize(layout, PANGO_ELLIPSIZE_END);
        pango_layout_set_single_paragraph_mode(layout, TRUE);
    }
    pango_layout_set_alignment(layout, style.align == Align::center ? PANGO_ALIGN_CENTER
                                       : style.align == Align::right ? PANGO_ALIGN_RIGHT
                                                                     : PANGO_ALIGN_LEFT);

    int top = box.y;
    if (!style.wrap) {
        int width = 0, height = 0;
        pango_layout_get_pixel_size(layout, &width, &height);
        top += (box.height - height) / 2;
    }
    cairo_save(cr);
    cairo_rectangle(cr, box.x, box.y, box.width, box.height);
    cairo_clip(cr);
    cairo_set_source_rgb(cr, style.colour.r / 255.0, style.colour.g / 255.0, style.colour.b / 255.0);
    cairo_move_to(cr, box.x, top);
    pango_cairo_show_layout(cr, layout);
    cairo_restore(cr);
}

}  // namespace screen
