#pragma once
// Measurements remembered between paints: a GlyphMeasurer that answers from a memo when the same
// text in the same font (and width, for wrapped text) was measured before, and asks the measurer
// it wraps otherwise. The memo outlives the measurers of single paints; it forgets everything when
// it grows past its bound or when the drawing scale changes (measurements follow the scale).
#include <cstddef>
#include <string>
#include <unordered_map>

#include "draw/glyph_measurer.h"

class MeasureMemo {
 public:
  explicit MeasureMemo(size_t maxEntries = 8192) : maxEntries_(maxEntries) {}

  // Forgets everything when `scale` differs from the one of the last call.
  void UseScale(float scale);
  size_t size() const { return entries_.size(); }

 private:
  friend class CachedMeasurer;
  struct Key {
    std::wstring text;
    FontSpec font;
    float maxWidth;  // negative: one line
    bool operator==(const Key&) const = default;
  };
  struct KeyHash {
    size_t operator()(const Key& key) const;
  };
  const SizeF* Find(const Key& key) const;
  void Store(Key key, SizeF size);

  size_t maxEntries_;
  float scale_ = 0;
  std::unordered_map<Key, SizeF, KeyHash> entries_;
};

class CachedMeasurer : public GlyphMeasurer {
 public:
  CachedMeasurer(GlyphMeasurer& inner, MeasureMemo& memo) : inner_(inner), memo_(memo) {}
  SizeF Measure(std::wstring_view text, const FontSpec& font) override;
  SizeF MeasureWrapped(std::wstring_view text, const FontSpec& font, float maxWidth) override;

 private:
  GlyphMeasurer& inner_;
  MeasureMemo& memo_;
};
