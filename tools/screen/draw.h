// Draws the elements of a screen description.
#pragma once

#include <cairo.h>

#include "description.h"

namespace screen {

// Throws DescriptionError for an element that cannot be drawn as described (bad markup).
void drawElement(cairo_t* cr, const Element& element);

}  // namespace screen
