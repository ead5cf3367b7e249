#include "core/sample_history.h"
#include "view/trace_renderer.h"

#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

namespace scope {
namespace {

constexpr int imageWidth = 300;
constexpr int imageHeight = 200;
constexpr QRgb background = 0xFF101010;

// Three channels that cross and overlap, leave the image at the top and bottom, and jump now
// and then, in a history that has turned its ring, so that strokes of every height and ends
// of every coverage are drawn over each other.
SampleHistory turnedHistory() {
    constexpr int channels = 3;
    SampleHistory history(channels, channels * 200'000);
    std::mt19937 random(7);
    std::normal_distribution<double> step(0.0, 0.02);
    std::uniform_int_distribution<int> jump(0, 5000);
    std::vector<double> walk(channels, 0.0);
    std::vector<double> block;
    for (long long n = 0; n < 3 * history.capacity() / 2; ++n) {
        for (int k = 0; k < channels; ++k) {
            walk[k] = std::clamp(walk[k] + step(random), -6.0, 6.0);
            block.push_back(walk[k] + (jump(random) == 0 ? 4.0 - 2.0 * k : 0.0));
        }
    }
    history.append(block.data(), static_cast<long long>(block.size()) / channels);
    return history;
}

QRgb blend(QRgb pixel, QRgb colour, unsigned coverage) {
    const auto part = [&](int shift) {
        return ((((colour >> shift) & 0xFF) * coverage +
                 ((pixel >> shift) & 0xFF) * (256 - coverage)) >>
                8)
               << shift;
    };
    return part(24) | part(16) | part(8) | part(0);
}

// A row to 256ths of a pixel, rounded up the image: the renderer's precision.
int inTwoFiftySixths(double row) {
    return static_cast<int>(std::floor(row * 256.0));
}

// The picture as the renderer is meant to draw it, the plain way: each column's extremes
// from every one of its samples, reaching to the column before, and every pixel of the
// column painted by how much of it the stroke covers.
QImage expectedPicture(const QImage &under, const SampleHistory &history,
                       const std::vector<TraceStyle> &styles, double start, double span) {
    QImage image = under.copy();
    const double perColumn = span / imageWidth;
    constexpr int floor = imageHeight * 256;
    for (const TraceStyle &style : styles) {
        bool joined = false;
        MinMax previous{};
        for (int x = 0; x < imageWidth; ++x) {
            const long long from = std::max(
                history.first(), static_cast<long long>(std::floor(start + x * perColumn)));
            const long long to = std::min(
                history.total(), static_cast<long long>(std::floor(start + (x + 1) * perColumn)));
            if (from >= to) {
                joined = false;
                continue;
            }
            MinMax own{history.at(style.channel, from), history.at(style.channel, from)};
            for (long long index = from; index < to; ++index) {
                own.min = std::min(own.min, history.at(style.channel, index));
                own.max = std::max(own.max, history.at(style.channel, index));
            }
            const float low = joined ? std::min(own.min, previous.max) : own.min;
            const float high = joined ? std::max(own.max, previous.min) : own.max;
            // Half a pixel's stroke either side of the extremes.
            const int top = std::clamp(
                inTwoFiftySixths(pixelOfVolts(high, style, imageHeight)) - 128, 0, floor);
            const int bottom =
                std::clamp(inTwoFiftySixths(pixelOfVolts(low, style, imageHeight)) + 128, 0, floor);
            for (int y = 0; y < imageHeight; ++y) {
                const int covered = std::min(bottom, (y + 1) * 256) - std::max(top, y * 256);
                if (covered >= 256) {
                    image.setPixel(x, y, style.colour);
                } else if (covered > 0) {
                    image.setPixel(
                        x, y,
                        blend(image.pixel(x, y), style.colour, static_cast<unsigned>(covered)));
                }
            }
            previous = own;
            joined = true;
        }
    }
    return image;
}

int differingPixels(const QImage &got, const QImage &expected) {
    int differing = 0;
    for (int y = 0; y < imageHeight; ++y) {
        for (int x = 0; x < imageWidth; ++x) {
            differing += got.pixel(x, y) != expected.pixel(x, y) ? 1 : 0;
        }
    }
    return differing;
}

QImage plainBackground() {
    QImage image(imageWidth, imageHeight, QImage::Format_ARGB32_Premultiplied);
    image.fill(background);
    return image;
}

// A background of stripes, as a grid is, that clearing to one colour would not give back.
QImage stripedBackground() {
    QImage image = plainBackground();
    for (int y = 0; y < imageHeight; y += 7) {
        for (int x = 0; x < imageWidth; ++x) {
            image.setPixel(x, y, 0xFF3A3A3A);
        }
    }
    return image;
}

const std::vector<TraceStyle> styles = {
    {0, 0xFFFFD040, 1.0, 0.0}, {1, 0xFF40E0FF, 0.7, 0.5}, {2, 0xFFFF60C0, 2.0, -1.0}};

TEST(TraceRendererTest, ColumnsShowTheirSamplesExtremesAtEveryZoom) {
    const SampleHistory history = turnedHistory();
    ASSERT_GT(history.first(), 0);
    ASSERT_GE(history.levels(), 2);
    const auto first = double(history.first());
    const auto capacity = double(history.capacity());
    struct View {
        double start;
        double span;
    };
    // The whole history; fractional stretches of many and of one or two samples a column;
    // one starting before the oldest sample kept, whose first columns stay empty.
    for (const View view :
         {View{first, capacity}, View{first + 12345.25, capacity / 3.7}, View{first + 777.5, 523.0},
          View{first + 9.0, double(imageWidth)}, View{first - 4000.0, 91000.0}}) {
        QImage image = plainBackground();
        TouchedRows touched;
        touched.reset(image);
        drawTraces(image, touched, history, styles, view.start, view.span);
        EXPECT_EQ(differingPixels(image, expectedPicture(plainBackground(), history, styles,
                                                         view.start, view.span)),
                  0)
            << "from " << view.start << " over " << view.span;
    }
}

// Frames one after another in one image, each cleared of only what the one before drew: any
// pixel left over from an earlier frame, or cleared to other than the background, shows.
TEST(TraceRendererTest, EachFrameOfOneImageShowsOnlyItsOwnTraces) {
    const SampleHistory history = turnedHistory();
    const QImage under = stripedBackground();
    QImage image = under.copy();
    TouchedRows touched;
    touched.reset(under);
    const auto first = double(history.first());
    struct View {
        double start;
        double span;
    };
    // Two samples a column, fewer than one (drawn through QPainter), one and a third, the
    // whole history with its tall strokes, and a window again: each leaves the next to clear.
    for (const View view :
         {View{first + 5000.25, 600.0}, View{first + 9000.0, 97.0}, View{first + 300.0, 400.0},
          View{first, double(history.capacity())}, View{first + 70000.5, 2000.0}}) {
        touched.restore(image, under);
        drawTraces(image, touched, history, styles, view.start, view.span);
        if (view.span < imageWidth) {
            continue; // QPainter's lines are not the columns' picture; what follows them is
        }
        EXPECT_EQ(
            differingPixels(image, expectedPicture(under, history, styles, view.start, view.span)),
            0)
            << "from " << view.start << " over " << view.span;
    }
}

} // namespace
} // namespace scope
