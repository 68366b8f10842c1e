#include "platform/gfx/Text.h"

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Canvas.h"
#include "platform/gfx/FontRegistry.h"
#include "platform/gfx/TextBlock.h"

#include <atomic>
#include <cmath>
#include <limits>
#include <thread>
#include <vector>

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <pthread.h>

// Sanitizers start threads through their own pthread_create, which this count would hide.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define ZEMBRIX_COUNTS_THREADS 0
#else
#define ZEMBRIX_COUNTS_THREADS 1

namespace {
std::atomic<int> g_threadsStarted{0};
}

// Every thread the program starts, counted on its way to the C library: the libraries that text
// goes through start theirs here too, and may end them before /proc could show them.
extern "C" int pthread_create(pthread_t* thread, const pthread_attr_t* attributes, void* (*start)(void*),
                              void* argument) noexcept {
    using Create = int (*)(pthread_t*, const pthread_attr_t*, void* (*)(void*), void*);
    static const auto create = reinterpret_cast<Create>(dlsym(RTLD_NEXT, "pthread_create"));
    ++g_threadsStarted;
    return create(thread, attributes, start, argument);
}
#endif

namespace gfx {
namespace {

Font font(const char* name, float size) {
    return *Font::named(name, size);
}

struct Measure {
    const char* font;
    float size;
    const char* text;
    float width;
    float height;
};

// Widths and heights of the faces installed by scripts/setup: the same on every machine and
// every run, since nothing of the machine's own font set-up takes part.
TEST(TextTest, MeasuresTheSameEverywhere) {
    for (const Measure& m :
         {Measure{"Georgia", 50, " ", 10.0f, 50.0f}, Measure{"Georgia", 50, "0123456789", 215.398f, 50.0f},
          Measure{"HelveticaNeue", 50, " ", 12.402f, 58.594f},
          Measure{"Verdana", 50, " ", 15.894f, 58.203f}}) {
        const core::Size size = measureText(m.text, font(m.font, m.size));
        EXPECT_NEAR(size.width, m.width, 0.01) << m.font << " \"" << m.text << "\"";
        EXPECT_NEAR(size.height, m.height, 0.01) << m.font << " \"" << m.text << "\"";
    }
}

// Unhinted metrics: a size four times as large measures four times as wide (to the 1/1024 point
// that each advance is rounded to), so text fitted at one size keeps its proportions at another.
TEST(TextTest, MeasuresInProportionToTheSize) {
    for (const char* name : {"Georgia", "Georgia-Italic", "HelveticaNeue-Ultralight", "Verdana"}) {
        const core::Size small = measureText("3x + 17 = 68", font(name, 13));
        const core::Size large = measureText("3x + 17 = 68", font(name, 52));
        EXPECT_NEAR(large.width, 4 * small.width, 0.05) << name;
        EXPECT_NEAR(large.height, 4 * small.height, 0.01) << name;
    }
}

TEST(TextTest, NothingToDrawMeasuresNothing) {
    EXPECT_EQ(measureText("", font("Georgia", 50)), core::Size{});
    for (float size :
         {0.0f, -3.0f, std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity()}) {
        EXPECT_EQ(measureText("x", font("Georgia", size)), core::Size{}) << size;
    }
}

TEST(TextTest, LineFeedsStartLines) {
    const Font georgia = font("Georgia", 20);
    const core::Size one = measureText("12", georgia);
    const core::Size two = measureText("12\n12", georgia);
    EXPECT_FLOAT_EQ(two.width, one.width);
    EXPECT_FLOAT_EQ(two.height, 2 * georgia.lineHeight());
    EXPECT_FLOAT_EQ(one.height, georgia.lineHeight());
    EXPECT_GT(georgia.ascender(), georgia.descender());
    EXPECT_NEAR(georgia.ascender() + georgia.descender(), georgia.lineHeight(), 0.01);
}

TEST(TextTest, BreaksLinesToFitAWidth) {
    const Font georgia = font("Georgia", 20);
    const AttributedText text("so don't be afraid to experiment", georgia);
    const float oneLine = measureText(text).width;

    const core::Size wrapped = measureText(text, oneLine / 2);
    EXPECT_LE(wrapped.width, oneLine / 2);
    EXPECT_GE(wrapped.height, 2 * georgia.lineHeight());

    const core::Size twoLines = measureText(text, oneLine / 4, {.maxLines = 2});
    EXPECT_FLOAT_EQ(twoLines.height, 2 * georgia.lineHeight());

    const core::Size truncated =
        measureText(text, oneLine / 2, {.lineBreak = LineBreakMode::TruncateTail, .maxLines = 1});
    EXPECT_FLOAT_EQ(truncated.height, georgia.lineHeight());
    EXPECT_LE(truncated.width, oneLine / 2);
}

TEST(TextTest, RunsInDifferentFontsMeasureAsTheirParts) {
    AttributedText sentence;
    sentence.append("You can ", font("HelveticaNeue-Ultralight", 25));
    sentence.append("tap", font("HelveticaNeue-Light", 25));
    EXPECT_EQ(sentence.plainText(), "You can tap");
    const float parts = measureText("You can ", font("HelveticaNeue-Ultralight", 25)).width +
                        measureText("tap", font("HelveticaNeue-Light", 25)).width;
    EXPECT_NEAR(measureText(sentence).width, parts, 0.01);
    EXPECT_GT(measureText(sentence).width,
              measureText("You can tap", font("HelveticaNeue-Ultralight", 25)).width);
}

TEST(TextTest, BrokenTextIsMeasuredNotRefused) {
    const Font georgia = font("Georgia", 20);
    EXPECT_GT(measureText(std::string("a\xff\xfe"
                                      "b",
                                      4),
                          georgia)
                  .width,
              measureText("ab", georgia).width);
    EXPECT_GT(measureText(std::string("a\0b", 3), georgia).width, measureText("ab", georgia).width);
    EXPECT_TRUE(AttributedText().isEmpty());
    EXPECT_TRUE(AttributedText("", georgia).isEmpty());
}

TEST(TextTest, MeasuresFromManyThreadsAtOnce) {
    const core::Size expected = measureText("2x + 1 = 7", font("Georgia", 40));
    std::vector<std::jthread> threads;
    std::vector<int> mismatches(4);
    for (int& count : mismatches) {
        threads.emplace_back([&count, expected] {
            for (int i = 0; i < 50; ++i) {
                count += measureText("2x + 1 = 7", font("Georgia", 40)) == expected ? 0 : 1;
            }
        });
    }
    threads.clear();
    EXPECT_EQ(mismatches, std::vector<int>(4));
}

// Fonts are kept for a few hundred sizes; text in more sizes than that makes them again, and text
// laid out in a font that was let go keeps it.
TEST(TextTest, TextInMoreSizesThanAreKeptMeasuresTheSame) {
    const AttributedText first("Like Terms", font("HelveticaNeue-Light", 10));
    const core::Size expected = measureText(first);
    const TextBlock block(first, 200);
    for (int i = 1; i <= 300; ++i) {
        measureText("Like Terms", font("HelveticaNeue-Light", 10 + float(i) / 64));
    }
    EXPECT_EQ(measureText(first), expected);
    EXPECT_EQ(block.size(), expected);
    EXPECT_GT(block.caretAt(4).x, 0);
    const auto bitmap = Bitmap::create(60, 20);
    Canvas canvas(*bitmap, 1);
    canvas.drawText(block, {0, 0});
    EXPECT_FALSE(bitmap->paintedBounds().isEmpty());
}

// A font is found once for its face; a size never used before is made from what was found, and
// starts no thread (a search per size would start two). The text holds a character only the
// fallback face has and one that no face has.
TEST(TextTest, TextInNewFontsAndSizesStartsNoThread) {
#if ZEMBRIX_COUNTS_THREADS
    const auto bitmap = Bitmap::create(64, 32);
    Canvas canvas(*bitmap, 2);
    const int before = g_threadsStarted;
    for (const FontFace& face : FontRegistry::faces()) {
        for (float size : {7.125f, 11.375f, 19.625f, 33.875f}) {
            const Font sized = font(std::string(face.name).c_str(), size);
            const AttributedText text("3x \u2713 \u4e2d", sized);
            EXPECT_GT(measureText(text, 40).height, 0) << face.name << " " << size;
            EXPECT_GT(sized.ascender() + sized.lineHeight(), 0);
            const TextBlock block(text, 50);
            EXPECT_LT(block.indexAt({5, 5}), text.plainText().size());
            canvas.drawText(text, {0, 0, 30, 16});
            canvas.drawText(block, {1, 1});
        }
    }
    EXPECT_EQ(g_threadsStarted, before);
#else
    GTEST_SKIP() << "threads are not counted under a sanitizer";
#endif
}

} // namespace
} // namespace gfx
