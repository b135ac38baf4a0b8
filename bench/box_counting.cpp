// The box-counting engine against the pixel-by-pixel loop, in the same run, on
// pictures of 1024 and 4096 pixels square: sparse dots, a dense field and a fractal
// (Sierpinski's triangle), for the sizes 1 to 256 by 1 and 10 to 100 by 10.
// Prints, per case: both times, how many times faster the engine is, the pixels it
// handles per second, and its time (mask plus every count) as a multiple of one
// plain read over the decoded pixels.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "app/engine/box_counter.h"
#include "app/engine/box_sizes.h"
#include "app/engine/naive_box_count.h"
#include "app/engine/pixel_mask.h"
#include "bench/best_seconds.h"

namespace {

constexpr uint32_t kBlack = 0x000000;
constexpr TArgb kOpaqueBlack = 0xFF000000;
constexpr TArgb kOpaqueWhite = 0xFFFFFFFF;

struct TPicture {
    std::string Name;
    int Side;
    std::vector<TArgb> Pixels;
};

TPicture Sparse(int side)
{
    TPicture picture{"sparse", side, std::vector<TArgb>(std::size_t(side) * side, kOpaqueWhite)};
    std::mt19937 random(1);
    for (std::size_t i = 0; i < picture.Pixels.size() / 1000; ++i)
        picture.Pixels[random() % picture.Pixels.size()] = kOpaqueBlack;
    return picture;
}

TPicture Dense(int side)
{
    TPicture picture{"dense", side, std::vector<TArgb>(std::size_t(side) * side, kOpaqueWhite)};
    std::mt19937 random(2);
    for (TArgb& pixel : picture.Pixels)
        if (random() % 2 == 0)
            pixel = kOpaqueBlack;
    return picture;
}

TPicture Fractal(int side)
{
    TPicture picture{"fractal", side, std::vector<TArgb>(std::size_t(side) * side, kOpaqueWhite)};
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            if ((x & y) == 0)
                picture.Pixels[std::size_t(y) * side + x] = kOpaqueBlack;
    return picture;
}

uint64_t Engine(const TPicture& picture, const std::vector<int>& sizes)
{
    TPixelMask mask(picture.Side, picture.Side);
    for (int y = 0; y < picture.Side; ++y)
        MarkColour({picture.Pixels.data() + std::size_t(y) * picture.Side, std::size_t(picture.Side)}, kBlack,
                   mask.Row(y));
    TBoxCounter counter(mask);
    uint64_t total = 0;
    for (const int d : sizes)
        total += counter.Count(d);
    return total;
}

uint64_t Naive(const TPicture& picture, const std::vector<int>& sizes)
{
    uint64_t total = 0;
    for (const int d : sizes)
        total += CountBoxesNaive(picture.Side, picture.Side, kBlack, d, [&](int x, int y) {
            return picture.Pixels[std::size_t(y) * picture.Side + x];
        });
    return total;
}

// The cheapest thing anything can do with the picture: look at every pixel once
// (an exclusive or of all of them, which the compiler vectorises).
uint64_t PlainRead(const TPicture& picture)
{
    TArgb all = 0;
    for (const TArgb pixel : picture.Pixels)
        all ^= pixel;
    return all;
}

volatile uint64_t gSink; // keeps the work from being optimised away

}  // namespace

int main()
{
    struct TSizes { const char* Name; std::vector<int> Sizes; };
    const TSizes sizeSets[] = {{"1..256 by 1", BoxSizes(1, 256, 1)}, {"10..100 by 10", BoxSizes(10, 100, 10)}};

    std::printf("%-8s %5s  %-13s %10s %10s %9s %12s %11s\n", "picture", "side", "sizes", "naive ms", "engine ms",
                "faster", "Mpixel/s", "/ plain read");
    for (const int side : {1024, 4096}) {
        for (const TPicture& picture : {Sparse(side), Dense(side), Fractal(side)}) {
            const double plain = BestSeconds(5, [&] { gSink = PlainRead(picture); });
            for (const TSizes& set : sizeSets) {
                uint64_t naiveTotal = 0, engineTotal = 0;
                const double naive = BestSeconds(1, [&] { naiveTotal = Naive(picture, set.Sizes); });
                const double engine = BestSeconds(5, [&] { engineTotal = Engine(picture, set.Sizes); });
                if (naiveTotal != engineTotal) {
                    std::printf("counts differ: naive %llu, engine %llu\n", (unsigned long long)naiveTotal,
                                (unsigned long long)engineTotal);
                    return 1;
                }
                std::printf("%-8s %5d  %-13s %10.1f %10.2f %8.0fx %12.0f %11.2f\n", picture.Name.c_str(), side,
                            set.Name, naive * 1e3, engine * 1e3, naive / engine,
                            double(side) * side / engine / 1e6, engine / plain);
            }
        }
    }
    return 0;
}
