#include "draw/sprite_cache.h"

size_t SpriteCache::BytesOf(const Entry& entry) {
  const DrawCall& call = entry.key.call;
  return entry.sprite.Bytes() + sizeof(Entry) + 64 + (call.text.size() + call.font.family.size()) * sizeof(wchar_t) +
         call.points.size() * sizeof(PointF) + call.path.Segments().size() * sizeof(PathSegment) +
         entry.key.shapes.size() * sizeof(DrawCall);
}

const Sprite* SpriteCache::Find(const SpriteKey& key) {
  const auto found = index_.find(&key);
  if (found == index_.end()) return nullptr;
  entries_.splice(entries_.begin(), entries_, found->second);
  return &found->second->sprite;
}

const Sprite& SpriteCache::Keep(SpriteKey key, Sprite sprite) {
  if (const auto found = index_.find(&key); found != index_.end()) {
    const auto entry = found->second;
    bytes_ -= BytesOf(*entry);
    index_.erase(found);
    entries_.erase(entry);
  }
  entries_.push_front(Entry{std::move(key), std::move(sprite)});
  bytes_ += BytesOf(entries_.front());
  index_.emplace(&entries_.front().key, entries_.begin());
  while (bytes_ > budget_ && entries_.size() > 1) {
    bytes_ -= BytesOf(entries_.back());
    index_.erase(&entries_.back().key);
    entries_.pop_back();
  }
  return entries_.front().sprite;
}

void SpriteCache::Clear() {
  index_.clear();
  entries_.clear();
  bytes_ = 0;
}
