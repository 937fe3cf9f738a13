#pragma once
// The sprites of recorded calls, kept for drawing the same call again (see SpriteKey). The least
// recently used are let go beyond a budget of bytes.
#include <cstddef>
#include <list>
#include <unordered_map>

#include "draw/sprite.h"
#include "draw/sprite_key.h"

class SpriteCache {
 public:
  explicit SpriteCache(size_t byteBudget) : budget_(byteBudget) {}

  // The sprite kept for `key`, now the most recently used; null when none is kept.
  const Sprite* Find(const SpriteKey& key);
  // Keeps `sprite` for `key` and lets the least recently used others go while over budget.
  const Sprite& Keep(SpriteKey key, Sprite sprite);
  void Clear();

  size_t bytes() const { return bytes_; }
  size_t size() const { return index_.size(); }

 private:
  struct Entry {
    SpriteKey key;
    Sprite sprite;
  };
  struct KeyHash {
    size_t operator()(const SpriteKey* key) const { return SpriteKeyHash{}(*key); }
  };
  struct KeyEqual {
    bool operator()(const SpriteKey* a, const SpriteKey* b) const { return *a == *b; }
  };
  static size_t BytesOf(const Entry& entry);

  size_t budget_;
  size_t bytes_ = 0;
  std::list<Entry> entries_;  // most recently used first
  // Keyed by the entries' own keys.
  std::unordered_map<const SpriteKey*, std::list<Entry>::iterator, KeyHash, KeyEqual> index_;
};
