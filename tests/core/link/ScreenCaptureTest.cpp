#include "core/link/screencapture/ScreenCapture.h"

#include "core/link/port/RingLineBuffer.h"
#include "core/link/protocol/LinkMessages.h"
#include "core/link/screencapture/CaptureLine.h"
#include "core/link/screencapture/ScreenCaptureTexts.h"
#include "sim/HostTransfer.h"
#include "sim/ScreenPicture.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "ScreenPixels.h"
#include "SimulatedLink.h"

namespace varnolt {
namespace {

std::vector<uint8_t> Text(std::string_view text) {
    return {text.begin(), text.end()};
}

TEST(ScreenPixels, ColoursFollowTheFillRule) {
    struct Case {
        uint16_t value;
        Rgb colour;
    };
    const Case cases[] = {
        {0xFFFF, {255, 255, 255}}, {0x0000, {0, 0, 0}},    {0xF800, {255, 0, 0}},
        {0x7800, {0x70, 0, 0}},    {0x1000, {0, 0, 0}},    {0x07E0, {0, 255, 0}},
        {0x0400, {0, 0, 0}},       {0x001F, {0, 0, 255}},  {0x0001, {0, 0, 0}},
        {0x0100, {0, 0x40, 0}},    {0x0010, {0, 0, 0x8F}}, {0x0800, {0x10, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(PixelColour(c.value), c.colour);
    }
}

TEST(ScreenPixels, TheVirtualAnalyzersValuesGiveBackItsColours) {
    for (const Rgb colour : {Rgb{255, 255, 255}, Rgb{0, 0, 0}, Rgb{240, 16, 64}, Rgb{16, 24, 64}}) {
        const Rgb back = PixelColour(sim::ScreenPixelValue(colour));
        EXPECT_EQ(back.red & 0xF0, colour.red & 0xF0);
        EXPECT_EQ(back.green & 0xF8, colour.green & 0xF8);
        EXPECT_EQ(back.blue & 0xF0, colour.blue & 0xF0);
    }
}

TEST(CaptureLine, ACpLineOfThreePixelsFillsThreePixels) {
    const std::vector<uint8_t> line = Text("CPF80007E0001F\n");
    ASSERT_EQ(line.size(), 2U + 12U + 1U);
    EXPECT_EQ(ClassifyCaptureLine(line), CaptureLineKind::Pixels);
    ScreenImage image(static_cast<size_t>(kScreenPixels), Rgb{1, 2, 3});
    int32_t counter = 0;
    EXPECT_EQ(DecodeCaptureLine(line, image, counter), 3);
    EXPECT_EQ(counter, 3);
    EXPECT_EQ(image[0], (Rgb{255, 0, 0}));
    EXPECT_EQ(image[1], (Rgb{0, 255, 0}));
    EXPECT_EQ(image[2], (Rgb{0, 0, 255}));
    EXPECT_EQ(image[3], (Rgb{1, 2, 3}));
}

TEST(CaptureLine, APairWithABadHexCharacterCountsAsFF) {
    ScreenImage image(4);
    int32_t counter = 0;
    // "x0" and "ff" (lower case is not a hex digit here) each become FF.
    EXPECT_EQ(DecodeCaptureLine(Text("CPF8x000ff\n"), image, counter), 2);
    EXPECT_EQ(image[0], PixelColour(0xF8FF));
    EXPECT_EQ(image[1], PixelColour(0x00FF));
}

TEST(CaptureLine, PartialGroupsAndPixelsPastTheScreenAreLeftOut) {
    ScreenImage image(static_cast<size_t>(kScreenPixels));
    int32_t counter = kScreenPixels - 1;
    // Three whole groups and two stray characters before the line feed.
    EXPECT_EQ(DecodeCaptureLine(Text("CPFFFFFFFFFFFFAB\n"), image, counter), 3);
    EXPECT_EQ(counter, kScreenPixels + 2);
    EXPECT_EQ(image.back(), (Rgb{255, 255, 255}));
    EXPECT_EQ(image.size(), static_cast<size_t>(kScreenPixels));
    EXPECT_EQ(ClassifyCaptureLine(Text("CE\n")), CaptureLineKind::End);
    EXPECT_EQ(ClassifyCaptureLine(Text("C")), CaptureLineKind::Other);
}

TEST(RingLineBuffer, AnOverlongLineFailsAndTheNextLineArrivesWhole) {
    ReceiveRing ring(256);
    RingLineBuffer buffer(8);
    ring.append(Text("ABC"));
    EXPECT_EQ(buffer.collect(ring), LineRead::Waiting);
    ring.append(Text("DEFGHIJK\nOK\nNEXT\n"));
    EXPECT_EQ(buffer.collect(ring), LineRead::Overflow);
    EXPECT_EQ(buffer.collect(ring), LineRead::Complete);
    EXPECT_EQ(std::string(buffer.line().begin(), buffer.line().end()), "OK\n");
    // A complete line stays until cleared; the one behind it waits in the ring.
    EXPECT_EQ(buffer.collect(ring), LineRead::Complete);
    buffer.clear();
    EXPECT_EQ(buffer.collect(ring), LineRead::Complete);
    EXPECT_EQ(std::string(buffer.line().begin(), buffer.line().end()), "NEXT\n");
    // A line exactly as long as the buffer fits.
    buffer.clear();
    ring.append(Text("1234567\n"));
    EXPECT_EQ(buffer.collect(ring), LineRead::Complete);
}

// The virtual analyzer sends the lines of SCRIPT in answer to "CP" and each "ACK".
class ScriptedScreen final : public sim::HostTransfer {
public:
    explicit ScriptedScreen(std::vector<std::string> lines) : lines_(std::move(lines)) {}
    std::vector<sim::AnswerFrame> Acknowledged(sim::AnalyzerFirmware&) override { return next(); }
    std::vector<sim::AnswerFrame> Refused(sim::AnalyzerFirmware&) override { return {}; }
    [[nodiscard]] bool finished() const override { return sent_ > lines_.size(); }
    std::vector<sim::AnswerFrame> next() {
        if (sent_ >= lines_.size()) {
            ++sent_;
            return {};
        }
        const std::string& line = lines_[sent_++];
        return {sim::AnswerFrame(line.begin(), line.end())};
    }

private:
    std::vector<std::string> lines_;
    size_t sent_ = 0;
};

struct RecordingDisplay final : ScreenCaptureDisplay {
    void showStatus(std::string_view text) override { statuses.emplace_back(text); }
    void showImage() override { ++imagesShown; }
    std::vector<std::string> statuses;
    int imagesShown = 0;
};

// Lets simulated time pass before every pass of the capture, and runs ACTION at pass AT.
struct ScriptedPump final : Pump {
    explicit ScriptedPump(sim::SimulatedLinkTime& time) : time(time) {}
    void pump() override {
        if (++passes == at && action) {
            action();
        }
        time.pump();
    }
    sim::SimulatedLinkTime& time;
    int passes = 0;
    int at = -1;
    std::function<void()> action;
};

class ScreenCaptureTest : public ::testing::Test, public testing::SimulatedLink {
protected:
    ScreenCaptureTest() : SimulatedLink(1000) {}

    void script(std::vector<std::string> lines) {
        firmware([&](sim::AnalyzerFirmware& state) {
            state.AddCommand("CP", sim::RequestChecksum::Without,
                             [lines](sim::AnalyzerFirmware& s, const sim::Request&) {
                                 auto transfer = std::make_shared<ScriptedScreen>(lines);
                                 auto first = transfer->next();
                                 s.transfer = transfer;
                                 return first;
                             });
        });
    }

    [[nodiscard]] size_t count(std::string_view request) const {
        const auto sent = requests();
        return static_cast<size_t>(std::count(sent.begin(), sent.end(), request));
    }

    ScriptedPump pump{time};
    RecordingDisplay display;
    ScreenCapture capture{LinkServices{bridge, portPrompt, clock, time, cursor, &ring}, owner, pump,
                          display};
};

TEST_F(ScreenCaptureTest, TheAnalyzersScreenArrivesWholeAndIsDrawn) {
    std::vector<uint16_t> expected;
    firmware(
        [&](sim::AnalyzerFirmware& state) { expected = testing::ScreenAt(state, clock.tickMs()); });
    EXPECT_EQ(capture.Run(), CaptureOutcome::Complete);
    EXPECT_TRUE(testing::IsTheScreen(capture.image(), expected));
    EXPECT_EQ(capture.image()[0], PixelColour(sim::ScreenPixelValue({32, 96, 200})));
    EXPECT_EQ(count("CP"), 1U);
    EXPECT_EQ(count("ACK"), static_cast<size_t>(kScreenHeight) + 1); // each row and "CE"
    EXPECT_EQ(display.imagesShown, 1);
    EXPECT_EQ(display.statuses, (std::vector<std::string>{std::string(kCaptureKeepHandsOffText),
                                                          std::string(kCaptureRunningText),
                                                          std::string(kCaptureDoneText)}));
    EXPECT_TRUE(owner.entries.empty());
    EXPECT_FALSE(capture.link().port().isOpen());
    EXPECT_FALSE(capture.running());
}

TEST_F(ScreenCaptureTest, AnEarlyCeDrawsWhatTheImageHolds) {
    script({"CP" + std::string(4 * 3, 'F') + "\n", "CE\n"});
    ASSERT_EQ(capture.Run(), CaptureOutcome::Complete);
    script({"CP00000000\n", "CE\n"});
    ASSERT_EQ(capture.Run(), CaptureOutcome::Complete);
    // The second capture overwrote two pixels from pixel 0; the third is left from the first.
    EXPECT_EQ(capture.image()[0], (Rgb{0, 0, 0}));
    EXPECT_EQ(capture.image()[1], (Rgb{0, 0, 0}));
    EXPECT_EQ(capture.image()[2], (Rgb{255, 255, 255}));
    EXPECT_EQ(capture.image()[3], (Rgb{0, 0, 0}));
    EXPECT_EQ(display.imagesShown, 2);
}

TEST_F(ScreenCaptureTest, EnoughPixelsEndTheImageWithoutCe) {
    // 55 lines of 2,400 pixels pass 130,570 pixels; the 55th completes the image.
    script(std::vector<std::string>(60, "CP" + std::string(4 * 2'400, '0') + "\n"));
    EXPECT_EQ(capture.Run(), CaptureOutcome::Complete);
    EXPECT_EQ(count("ACK"), 55U);
    EXPECT_EQ(display.imagesShown, 1);
}

TEST_F(ScreenCaptureTest, ALineLongerThanTheLineBufferFailsUnacknowledged) {
    const std::string overlong = "CP" + std::string(ScreenCapture::kLineBufferBytes, '0') + "\n";
    script({overlong, "CE\n"});
    EXPECT_EQ(capture.Run(), CaptureOutcome::TimedOut);
    EXPECT_EQ(count("ACK"), 0U);
    EXPECT_EQ(owner.texts(), std::vector<std::string>{std::string(kCaptureTimeoutMessage)});
    EXPECT_EQ(display.imagesShown, 0);
}

TEST_F(ScreenCaptureTest, SilenceAndCancelEndTheCaptureWithoutDrawing) {
    struct Case {
        const char* name;
        std::function<void()> arrange;
        CaptureOutcome outcome;
        std::string message;
        size_t escapes;
    };
    const Case cases[] = {
        {"the analyzer falls silent after ten rows", [this] { plan(sim::Fault::Lost); },
         CaptureOutcome::TimedOut, std::string(kCaptureTimeoutMessage), 0},
        {"the user presses 戻る",
         [this] {
             pump.at = 40;
             pump.action = [this] { capture.RequestCancel(); };
         },
         CaptureOutcome::Cancelled, std::string(kCaptureCancelledText), 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        analyzer.ClearRequests();
        analyzer.WithFaults([](sim::FaultPlan& faults) {
            faults.Clear();
            faults.Pass(11);
        });
        owner.entries.clear();
        display.statuses.clear();
        display.imagesShown = 0;
        pump.passes = 0;
        // The tick count wraps during the wait: the budget starts afresh there.
        clock.set(0xFFFF'FFFFU - 1000);
        c.arrange();
        EXPECT_EQ(capture.Run(), c.outcome);
        EXPECT_EQ(display.imagesShown, 0);
        ASSERT_EQ(owner.entries.size(), 1U);
        EXPECT_EQ(owner.entries[0].text, c.message);
        EXPECT_EQ(owner.entries[0].caption, "確認");
        EXPECT_EQ(owner.entries[0].icon, PromptIcon::Warning);
        EXPECT_EQ(display.statuses.back(), kCaptureCancelledText);
        EXPECT_EQ(count("ESC"), c.escapes);
        if (c.outcome == CaptureOutcome::TimedOut) {
            EXPECT_LT(clock.tickMs(), 10'000U);
            EXPECT_GE(clock.tickMs(), ScreenCapture::kLineBudgetMs);
        }
        EXPECT_FALSE(capture.link().port().isOpen());
        pump.action = nullptr;
    }
    // The analyzer gave up the transfer on "ESC": a new capture starts afresh.
    EXPECT_EQ(capture.Run(), CaptureOutcome::Complete);
}

TEST_F(ScreenCaptureTest, AnAbsentAnalyzerIsReportedAndNothingIsCaptured) {
    analyzer.Unplug();
    EXPECT_EQ(capture.Run(), CaptureOutcome::NotConnected);
    ASSERT_EQ(owner.texts(), std::vector<std::string>{std::string(kAnalyzerAbsentMessage)});
    EXPECT_TRUE(display.statuses.empty());
    EXPECT_TRUE(requests().empty());
}

} // namespace
} // namespace varnolt
