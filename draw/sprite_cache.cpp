#include "draw/sprite_cache.h"

#include <bit>
#include <functional>
#include <string>

namespace {

void Mix(size_t& hash, size_t value) { hash ^= value + 0x9E3779B97F4A7C15ull + (hash << 6) + (hash >> 2); }
void Mix(size_t& hash, float value) { Mix(hash, size_t(std::bit_cast<uint32_t>(value))); }

void MixCall(size_t& hash, const DrawCall& call) {
  Mix(hash, size_t(call.kind));
  Mix(hash, std::hash<std::wstring>{}(call.text));
  Mix(hash, call.rect.x);
  Mix(hash, call.rect.y);
  Mix(hash, call.rect.width);
  Mix(hash, call.rect.height);
  Mix(hash, size_t(call.brush.colour) ^ (size_t(call.stroke.colour) << 32));
  for (PointF p : call.points) {
    Mix(hash, p.x);
    Mix(hash, p.y);
  }
  Mix(hash, call.path.Segments().size());
}

}  // namespace

size_t SpriteKeyHash::operator()(const SpriteKey* key) const {
  size_t hash = key->pushes.size();
  MixCall(hash, key->call);
  for (const DrawCall& push : key->pushes) MixCall(hash, push);
  return hash;
}

size_t SpriteCache::BytesOf(const Entry& entry) {
  return entry.sprite.pixels.size() * sizeof(uint32_t) + entry.key.call.text.size() * sizeof(wchar_t) +
         sizeof(Entry) + 64;
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
