#pragma once
// Painting the whole panel in logical units onto a canvas: the chrome, the page on view and the
// footer. The canvas already scales logical units to the window's pixels.
#include <cstddef>
#include <functional>

#include "draw/canvas.h"
#include "draw/glyph_measurer.h"
#include "panel/paint/panel_view.h"

// Draws the body of the settings page below its title (its sections); empty draws none.
using SettingsPagePainter =
    std::function<void(Canvas&, GlyphMeasurer&, const PanelView& view, float width, float height)>;

// Paints a `width` x `height` panel. The glass layer (the background and the rim) goes to
// `glassCanvas`; without glass both are the same canvas. The text blocks update the view's scrolls.
void PaintPanel(Canvas& canvas, Canvas& glassCanvas, GlyphMeasurer& measurer, float width, float height,
                PanelView& view, const SettingsPagePainter& settingsPage = {});

// The width of the keycap pill that shows a hotkey of `characters` characters: 5.8 per character
// plus 18, at least 30 and at most 58.
float KeycapWidth(size_t characters);
