#pragma once
// What must hold for any sequence of keyboard reports, focus changes, frame ticks and paints:
// the press queue stays sorted and within one minute, its counts never exceed it, every area
// handed out for repainting is a key's area, every key draws within that area, the lit state
// last drawn follows the keys, and a report typed while the focus is private or waits for its
// verdict changes nothing shown. Shared by the libFuzzer target and the host test that
// replays what it found; the check returns the first breach it sees, or an empty text.
#include <algorithm>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "input/frame_tick.h"
#include "input/key_report.h"
#include "input/sound_player.h"
#include "keyboard/layout_metrics.h"
#include "render/frame.h"
#include "render/key_drawing.h"
#include "render/recording_canvas.h"
#include "settings/app_settings.h"
#include "tests/unit/fake_keyboard_layouts.h"
#include "tests/unit/fake_physical_key_state.h"

namespace fuzz {

class SilentPlayer : public SoundPlayer {
public:
    void play(const wchar_t*) override {}
};

// The input read a byte at a time; past its end every byte reads 0.
class ByteStream {
public:
    explicit ByteStream(std::string_view bytes) : bytes_(bytes) {}
    bool atEnd() const { return pos_ >= bytes_.size(); }
    unsigned next() { return pos_ < bytes_.size() ? static_cast<unsigned char>(bytes_[pos_++]) : 0u; }
    std::uint64_t nextWide(int count) {
        std::uint64_t value = 0;
        for (int i = 0; i < count; ++i) value = (value << 8) | next();
        return value;
    }

private:
    std::string_view bytes_;
    std::size_t pos_ = 0;
};

inline bool within(const Rect& inner, const Rect& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right && inner.bottom <= outer.bottom;
}

class KeyReportsRun {
public:
    // The first bytes choose the keyboard layout and the keyboard shown, the scale, the look and
    // the start time.
    explicit KeyReportsRun(ByteStream& in) : in_(in) {
        const unsigned keyboard = in_.next();
        query_ = (keyboard & 1) ? jisLayout() : usLayout();
        query_.capsLock = (keyboard & 2) != 0;
        query_.systemShift = (keyboard & 4) != 0;
        const double scale = MIN_SCALE + (MAX_SCALE - MIN_SCALE) * in_.next() / 255.0;
        const unsigned look = in_.next();
        settings_.style = static_cast<int>(look & 3);  // 3 is a hand-edited design
        settings_.shadow = (look & 4) != 0;
        settings_.soundOn = (look & 8) != 0;
        settings_.aa = (look & 16) != 0;
        settings_.soundSel = static_cast<int>(look >> 5);
        settings_.scale = scale;
        updateMetrics(metrics_, scale);
        static const KeyArrangement* const ARRANGEMENTS[] = {&COMPACT_KEYBOARD, &FULL_KEYBOARD_ANSI,
                                                             &FULL_KEYBOARD_ISO, &FULL_KEYBOARD_JIS};
        client_ = buildLayout(layout_, metrics_, scale, *ARRANGEMENTS[(keyboard >> 3) & 3]);
        for (const KeyCap& key : layout_) keyAreas_.push_back(key.rect.inflated(KEY_INVALIDATE_MARGIN, KEY_INVALIDATE_MARGIN));
        now_ = in_.nextWide(5);
        startInput(state_, query_, now_);
    }

    // Runs every step of the input; the first breach ends the run.
    std::string run() {
        while (!in_.atEnd()) {
            std::string breach = step(in_.next());
            if (breach.empty()) breach = meterBreach();
            if (!breach.empty()) return breach;
        }
        return {};
    }

private:
    std::string step(unsigned op) {
        switch (op % 8) {
        case 3:
            return focus(op >> 3);
        case 4:
            return tick((op >> 3) & 3);
        case 5:
            return drawsLeft() ? drawWholeFrame() : std::string{};
        case 6:
            return drawsLeft() ? drawPartOfFrame() : std::string{};
        case 7: {
            const unsigned toggles = in_.next();
            query_.systemShift = (toggles & 1) != 0;
            query_.capsLock = (toggles & 2) != 0;
            // Every key let go where this program could not hear it.
            physical_.allUp = (toggles & 4) != 0;
            query_.layout = (toggles & 8) ? 0x04070407 : 0x04090409;
            return {};
        }
        default:
            return report();
        }
    }

    // Composing a frame costs far more than a report, so a run paints a few times only and
    // spends its steps on the key state.
    bool drawsLeft() { return draws_++ < MAX_DRAWS; }

    // The clock only goes forward: a step of nothing, of up to a quarter second, a minute or
    // four hours.
    void advance(unsigned size) {
        static constexpr int WIDTHS[] = {0, 1, 2, 3};
        now_ += in_.nextWide(WIDTHS[size & 3]);
    }

    std::string report() {
        const unsigned code = in_.next();
        const unsigned makeCode = in_.next();
        const unsigned flags = in_.next();
        // Codes past the 0..255 of the platform reach the handler too, as any int may.
        const int vkey = (flags & 0x40) ? 256 + static_cast<signed char>(code) * 1000 : static_cast<int>(code);
        advance(flags >> 1);
        InputContext context{layout_, settings_, query_, sound_};
        settlePrivacy(state_, now_, context);
        const bool hidden = state_.appliedPrivacy != PrivacyMode::Open;
        const KeyStateTable keysBefore = state_.keys;
        const std::size_t pressesBefore = state_.meter.pressTimes.size();
        const KeyReport r{vkey, static_cast<int>(makeCode), (flags & 1) != 0, (flags & 0x80) != 0};
        const std::optional<Rect> area = onKeyReport(state_, r, now_, context);
        if (area && !isKeyArea(*area)) return "a report invalidated an area that is no key's";
        if (hidden && (area || state_.keys.held != keysBefore.held || state_.keys.lastPress != keysBefore.lastPress ||
                       state_.meter.pressTimes.size() != pressesBefore))
            return "a report typed while the focus is private or unjudged changed what is shown";
        if (state_.appliedPrivacy == PrivacyMode::Private && (state_.labelShift || state_.heldKeys.count != 0))
            return "a key or Shift shows while the focus is in a password field";
        return heldBreach();
    }

    // The focus moves, is judged, a menu opens or closes, or time passes, as the platform
    // reports them, in any order.
    std::string focus(unsigned kind) {
        const FocusOrigin foreground{1, 1, false};
        const ForegroundInput input{1, 1, 1};
        const unsigned detail = in_.next();
        FocusTracker& tracker = state_.focus;
        switch (kind % 6) {
        case 0:
            onFocusMoved(tracker, foreground, static_cast<FocusVerdict>(detail % 3), input, now_);
            break;
        case 1:  // another program's announcement
            onFocusMoved(tracker, {2, 2, false}, static_cast<FocusVerdict>(detail % 3), input, now_);
            break;
        case 2:
            onFocusAnswer(tracker, tracker.desk.worker - (detail & 1), tracker.serial - ((detail >> 1) & 1),
                          static_cast<FocusAnswer>((detail >> 2) % 3), now_);
            break;
        case 3:
            if (detail & 1)
                onMenuOpened(tracker, foreground, input);
            else if (onMenuClosed(tracker, foreground, input))
                onFocusMoved(tracker, foreground, static_cast<FocusVerdict>((detail >> 1) % 3), input, now_);
            break;
        case 4:
            noteKeyPressed(tracker, 0x09, false, now_);
            break;
        default:
            advance(detail);
            onTimePassed(tracker, now_);
            break;
        }
        InputContext context{layout_, settings_, query_, sound_};
        settlePrivacy(state_, now_, context);
        if (state_.appliedPrivacy == PrivacyMode::Private && (state_.labelShift || state_.heldKeys.count != 0))
            return "a key or Shift shows while the focus is in a password field";
        return heldBreach();
    }

    // A key is held exactly while some physical key that lit it is down, and the Shift labels
    // follow the held Shift keys.
    std::string heldBreach() const {
        bool shiftHeld = false;
        for (int code = 0; code < KEY_CODE_COUNT; ++code) {
            if (state_.keys.held[code] != state_.heldKeys.holdsCode(code)) return "a key is held that no physical key holds, or the reverse";
            shiftHeld = shiftHeld || (state_.keys.held[code] && isShiftKey(code));
        }
        if (shiftHeld && !state_.labelShift) return "a Shift key is held but the labels are not shifted";
        return {};
    }

    std::string tick(unsigned size) {
        advance(size);
        FrameTickEffects effects;
        FrameTickContext context{layout_, query_, physical_};
        onFrameTick(state_, context, now_, effects);
        if (std::string breach = heldBreach(); !breach.empty()) return breach;
        if (physical_.allUp)
            for (int i = 0; i < state_.heldKeys.count; ++i)
                if (now_ - state_.heldKeys.keys[i].pressedAt >= 100) return "a key all up on the keyboard is still held after a tick";
        for (const Rect& area : effects.keyAreas)
            if (!isKeyArea(area)) return "a frame tick invalidated an area that is no key's";
        if (!state_.meter.pressTimes.empty() && state_.meter.pressTimes.front() < cutoffBefore(now_, PRESS_RETENTION_MS))
            return "a press older than a minute outlived the frame tick";
        if (effects.invalidateAll) return {};
        for (const KeyCap& key : layout_)
            if (state_.keys.litShown[key.vk] != state_.keys.isLit(key.vk, now_)) return "a key's drawn lit state is stale after a tick";
        return {};
    }

    FrameContext frameContext() {
        return FrameContext{settings_, metrics_, layout_, state_.keys, state_.meter, query_, state_.labelShift, now_};
    }

    std::string drawWholeFrame() {
        RecordingCanvas canvas;
        drawFrame(canvas, clientRect(), frameContext());
        if (std::string breach = blendBreach(canvas); !breach.empty()) return breach;
        // A partial paint leaves out the keys whose reach misses it, so every key must draw
        // within its reach: its drawing rectangle, and the shadow's offset around it. The
        // reach must lie within the area a report or a tick repaints for the key.
        const FrameContext context = frameContext();
        for (std::size_t i = 0; i < layout_.size(); ++i) {
            const KeyCap& key = layout_[i];
            const Rect drawn = keyDrawingRect(key, state_.keys.isLit(key.vk, now_), settings_.style);
            const Rect reach = settings_.shadow ? drawn.inflated(SHADOW_OFFSET, SHADOW_OFFSET) : drawn;
            if (!within(reach, keyAreas_[i])) return "a key's reach exceeds its invalidation area";
            RecordingCanvas single;
            drawKey(single, key, context);
            if (!drawsWithin(single, reach)) return "a key drew outside its reach";
        }
        return {};
    }

    // A paint of one to three key areas, as the update region of typing brings.
    std::string drawPartOfFrame() {
        std::vector<Rect> areas;
        const unsigned count = 1 + in_.next() % 3;
        for (unsigned i = 0; i < count; ++i) areas.push_back(keyAreas_[in_.next() % keyAreas_.size()]);
        RecordingCanvas canvas;
        drawFrame(canvas, clientRect(), frameContext(), std::span<const Rect>(areas));
        return blendBreach(canvas);
    }

    Rect clientRect() const { return Rect{0, 0, client_.width, client_.height}; }

    static std::string blendBreach(const RecordingCanvas& canvas) {
        for (const DrawCall& call : canvas.callsOf(DrawKind::Blend)) {
            const auto count = static_cast<std::size_t>(call.rect.width()) * static_cast<std::size_t>(call.rect.height());
            if (call.rect.empty() || call.pixels.size() != count) return "a glow's pixels do not fill its rectangle";
        }
        return {};
    }

    static bool drawsWithin(const RecordingCanvas& canvas, const Rect& bounds) {
        for (const DrawCall& call : canvas.calls()) {
            switch (call.kind) {
            case DrawKind::Text: {
                // Measured with the recording canvas's stand-in metrics.
                const Rect text{call.origin.x, call.origin.y, call.origin.x + call.extent.width,
                                call.origin.y + call.extent.height};
                if (!within(call.placement.box, bounds) || !within(text, bounds)) return false;
                break;
            }
            case DrawKind::Polyline:
                for (const Point& p : call.points)
                    if (!bounds.contains(p)) return false;
                break;
            default:
                if (!within(call.rect, bounds)) return false;
            }
        }
        return true;
    }

    bool isKeyArea(const Rect& area) const { return std::find(keyAreas_.begin(), keyAreas_.end(), area) != keyAreas_.end(); }

    std::string meterBreach() const {
        const SpeedMeter& meter = state_.meter;
        const std::deque<Tick>& times = meter.pressTimes;
        if (!std::is_sorted(times.begin(), times.end())) return "the press times are out of order";
        if (times.empty()) return {};
        if (times.back() > now_) return "a press lies in the future";
        if (times.back() - times.front() > PRESS_RETENTION_MS) return "the press times span more than a minute";
        const auto size = static_cast<int>(times.size());
        if (meter.countSince(0) != size) return "counting from the start misses presses";
        if (meter.countSince(now_ + 1) != 0) return "a count after now is not empty";
        const int shown = meter.shownFigure(now_);
        if (shown < 0 || shown > size) return "the panel's figure exceeds the queue";
        return {};
    }

    ByteStream& in_;
    AppSettings settings_;
    LayoutMetrics metrics_;
    KeyboardLayout layout_;
    Size client_;
    std::vector<Rect> keyAreas_;
    FakeKeyboardQuery query_;
    FakePhysicalKeyState physical_;
    SilentPlayer sound_;
    InputState state_;
    Tick now_ = 0;
    static constexpr int MAX_DRAWS = 12;
    int draws_ = 0;
};

inline std::string checkKeyReports(std::string_view bytes) {
    ByteStream in(bytes);
    KeyReportsRun run(in);
    return run.run();
}

}  // namespace fuzz
