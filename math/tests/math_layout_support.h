#pragma once
// Shared by the math layout tests: runs parsed, measured and drawn on a recording canvas with the
// fixed-advance measurer (each code unit 0.5 × the font size wide, lines 1.2 × high).
#include <string>
#include <string_view>

#include <gtest/gtest.h>

#include "draw/fixed_measurer.h"
#include "draw/recording_canvas.h"
#include "math/math_draw.h"
#include "math/math_layout.h"
#include "math/math_parser.h"

inline constexpr Argb kInk = 0xFF203040;

struct MathBench {
  FixedAdvanceMeasurer measurer;
  RecordingCanvas canvas;
  MathGraphics graphics{canvas, measurer};

  MathNode Measure(std::wstring_view source, float s, bool bold = false) {
    MathNode tree = MathParser(source).ParseRow();
    MeasureMathNode(measurer, tree, s, bold);
    return tree;
  }
  // Drawn with the box's left edge at x and the baseline at y.
  MathNode Draw(std::wstring_view source, float s, float x, float y, bool bold = false) {
    MathNode tree = Measure(source, s, bold);
    DrawMathNode(graphics, tree, x, y, s, kInk, bold);
    return tree;
  }
  // The first glyph string with this text (fails the test when there is none).
  const DrawCall& Glyph(std::wstring_view text) const {
    for (const DrawCall* call : canvas.CallsOf(DrawCallKind::Glyphs)) {
      if (call->text == text) return *call;
    }
    ADD_FAILURE() << "no glyphs \"" << Narrow(text) << "\" in\n" << canvas.Describe();
    static const DrawCall none = [] {
      DrawCall call;
      call.points = {PointF{}};
      return call;
    }();
    return none;
  }
  static std::string Narrow(std::wstring_view text) { return std::string(text.begin(), text.end()); }
};
