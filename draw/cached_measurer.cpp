#include "draw/cached_measurer.h"

#include <functional>

void MeasureMemo::UseScale(float scale) {
  if (scale != scale_) entries_.clear();
  scale_ = scale;
}

size_t MeasureMemo::KeyHash::operator()(const Key& key) const {
  size_t hash = std::hash<std::wstring>()(key.text);
  auto mix = [&hash](size_t value) { hash ^= value + 0x9E3779B97F4A7C15ull + (hash << 6) + (hash >> 2); };
  mix(std::hash<std::wstring>()(key.font.family));
  mix(std::hash<float>()(key.font.pixelSize));
  mix(key.font.style);
  mix(std::hash<float>()(key.maxWidth));
  return hash;
}

const SizeF* MeasureMemo::Find(const Key& key) const {
  auto found = entries_.find(key);
  return found == entries_.end() ? nullptr : &found->second;
}

void MeasureMemo::Store(Key key, SizeF size) {
  if (entries_.size() >= maxEntries_) entries_.clear();
  entries_.emplace(std::move(key), size);
}

SizeF CachedMeasurer::Measure(std::wstring_view text, const FontSpec& font) {
  MeasureMemo::Key key{std::wstring(text), font, -1};
  if (const SizeF* known = memo_.Find(key)) return *known;
  const SizeF size = inner_.Measure(text, font);
  memo_.Store(std::move(key), size);
  return size;
}

SizeF CachedMeasurer::MeasureWrapped(std::wstring_view text, const FontSpec& font, float maxWidth) {
  if (!(maxWidth > 0)) return inner_.MeasureWrapped(text, font, maxWidth);
  MeasureMemo::Key key{std::wstring(text), font, maxWidth};
  if (const SizeF* known = memo_.Find(key)) return *known;
  const SizeF size = inner_.MeasureWrapped(text, font, maxWidth);
  memo_.Store(std::move(key), size);
  return size;
}
