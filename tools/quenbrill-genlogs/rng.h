#pragma once

#include <cstdint>
#include <vector>

namespace genlogs {

// xoshiro256** seeded through splitmix64. Our own generator and our own range reduction,
// so that one seed gives the same corpus with every standard library
// (std::uniform_int_distribution is not portable).
class Rng {
  public:
    explicit Rng(std::uint64_t seed) {
        for (auto& word : state_) {
            seed += 0x9E3779B97F4A7C15ULL;
            word = splitmix(seed);
        }
    }

    std::uint64_t next() {
        const std::uint64_t result = rotl(state_[1] * 5, 7) * 9;
        const std::uint64_t t = state_[1] << 17;
        state_[2] ^= state_[0];
        state_[3] ^= state_[1];
        state_[1] ^= state_[2];
        state_[0] ^= state_[3];
        state_[2] ^= t;
        state_[3] = rotl(state_[3], 45);
        return result;
    }

    // 0 <= result < n (n > 0).
    std::uint32_t below(std::uint32_t n) {
        return static_cast<std::uint32_t>(((next() >> 32) * n) >> 32);
    }

    // lo <= result <= hi.
    int range(int lo, int hi) {
        return lo + static_cast<int>(below(static_cast<std::uint32_t>(hi - lo + 1)));
    }

    bool chance(int percent) { return below(100) < static_cast<std::uint32_t>(percent); }

    template <class T> const T& pick(const std::vector<T>& items) {
        return items[below(static_cast<std::uint32_t>(items.size()))];
    }

    // Index drawn with the given weights.
    std::size_t weighted(const std::vector<int>& weights) {
        int total = 0;
        for (int w : weights) {
            total += w;
        }
        int r = range(0, total - 1);
        for (std::size_t i = 0; i < weights.size(); ++i) {
            if (r < weights[i]) {
                return i;
            }
            r -= weights[i];
        }
        return weights.size() - 1;
    }

    static std::uint64_t splitmix(std::uint64_t x) {
        x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ULL;
        x = (x ^ (x >> 27)) * 0x94D049BB133111EBULL;
        return x ^ (x >> 31);
    }

  private:
    static std::uint64_t rotl(std::uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }

    std::uint64_t state_[4]{};
};

// A value that depends only on its inputs, for decisions that must not draw from the
// main stream (which downloads are kept does not change the logs).
inline std::uint64_t mixHash(std::uint64_t a, std::uint64_t b) {
    return Rng::splitmix(Rng::splitmix(a + 0x632BE59BD9B4E019ULL) ^ b);
}

} // namespace genlogs
