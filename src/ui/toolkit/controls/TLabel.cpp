#include "ui/toolkit/controls/TLabel.h"

#include <algorithm>
#include <cstddef>

#include "app/AppWindow.h"
#include "app/TApplication.h"
#include "platform/gfx/Image.h"
#include "platform/gfx/Raster.h"
#include "platform/host/Host.h"
#include "ui/toolkit/controls/TColor.h"
#include "ui/toolkit/controls/TWinControl.h"

namespace zozuz {

namespace {

// The text of an empty line still has a line's height.
constexpr std::string_view kLineProbe = " ";

// Splits text into the pieces a line may break between: a run of ASCII letters and marks with the
// spaces after it, or one character outside ASCII with the spaces after it. A line break is a
// piece of its own.
std::vector<std::string> breakPieces(const std::string& text) {
    std::vector<std::string> pieces;
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t end = i + 1;
        if (text[i] == '\n') {
            pieces.emplace_back("\n");
            i = end;
            continue;
        }
        if (lead >= 0x80) {
            // One UTF-8 sequence: the lead byte and its continuation bytes.
            while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) ++end;
        } else if (text[i] != ' ') {
            while (end < text.size() && static_cast<unsigned char>(text[end]) < 0x80 && text[end] != ' ' &&
                   text[end] != '\n')
                ++end;
        }
        while (end < text.size() && text[end] == ' ') ++end;
        pieces.push_back(text.substr(i, end - i));
        i = end;
    }
    return pieces;
}

// The longest prefix of `word` (whole UTF-8 characters, at least one) that fits in `width`.
std::size_t fittingPrefix(TextRenderer& renderer, const Font& font, const std::string& word, int width) {
    std::size_t fit = 0;
    std::size_t next = 0;
    while (next < word.size()) {
        std::size_t end = next + 1;
        while (end < word.size() && (static_cast<unsigned char>(word[end]) & 0xC0) == 0x80) ++end;
        if (fit > 0 && renderer.measure(font, std::string_view(word).substr(0, end)).width > width) break;
        fit = end;
        next = end;
    }
    return fit;
}

std::string withoutTrailingSpaces(std::string line) {
    while (!line.empty() && line.back() == ' ') line.pop_back();
    return line;
}

}  // namespace

TLabel::TLabel(TComponent* owner) : TGraphicControl(owner) {
    SetBounds(0, 0, 65, 17);
    SetOpaque(true);
}

void TLabel::SetCaption(std::string caption) {
    caption_ = std::move(caption);
    AdjustBounds();
    Invalidate();
}

void TLabel::SetAutoSize(bool autoSize) {
    autoSize_ = autoSize;
    AdjustBounds();
}

void TLabel::SetWordWrap(bool wrap) {
    wordWrap_ = wrap;
    AdjustBounds();
    Invalidate();
}

void TLabel::SetEnabled(bool enabled) {
    TGraphicControl::SetEnabled(enabled);
    Invalidate();
}

void TLabel::Loaded() {
    TGraphicControl::Loaded();
    AdjustBounds();
}

void TLabel::FontChanged() {
    AdjustBounds();
    TGraphicControl::FontChanged();
}

TextRenderer* TLabel::measuringRenderer() const {
    const auto* window = dynamic_cast<const AppWindow*>(TopWindow());
    return window ? &window->Application().GetHost().textRenderer() : nullptr;
}

std::vector<std::string> TLabel::BreakLines(TextRenderer& renderer, const Font& font, const std::string& text,
                                            int width) {
    std::vector<std::string> result;
    std::string line;
    for (std::string piece : breakPieces(text)) {
        if (piece == "\n") {
            result.push_back(withoutTrailingSpaces(std::move(line)));
            line.clear();
            continue;
        }
        if (width < 0) {
            line += piece;
            continue;
        }
        // Trailing spaces hang past the edge; only what shows has to fit.
        while (!piece.empty()) {
            const std::string candidate = withoutTrailingSpaces(line + piece);
            if (renderer.measure(font, candidate).width <= width) {
                line += piece;
                break;
            }
            if (!line.empty()) {
                result.push_back(withoutTrailingSpaces(std::move(line)));
                line.clear();
                continue;
            }
            // A word wider than the whole line is broken where it must be.
            const std::size_t fit = fittingPrefix(renderer, font, piece, width);
            if (fit == piece.size() || withoutTrailingSpaces(piece.substr(fit)).empty()) {
                // What is left of the word goes on with the line, which may take more after it.
                line = std::move(piece);
                break;
            }
            result.push_back(piece.substr(0, fit));
            piece.erase(0, fit);
        }
    }
    result.push_back(withoutTrailingSpaces(std::move(line)));
    return result;
}

std::vector<std::string> TLabel::lines(TextRenderer& renderer) const {
    return BreakLines(renderer, GetFont(), caption_, wordWrap_ ? Width() : -1);
}

void TLabel::AdjustBounds() {
    if (!autoSize_ || Loading()) return;
    TextRenderer* renderer = measuringRenderer();
    if (!renderer) return;
    const Font& font = GetFont();
    const std::vector<std::string> shown = lines(*renderer);
    const int lineHeight = renderer->measure(font, kLineProbe).height;
    int width = 0;
    for (const std::string& line : shown) width = std::max(width, renderer->measure(font, line).width);
    if (wordWrap_) width = Width();
    SetBounds(Left(), Top(), width, lineHeight * static_cast<int>(shown.size()));
}

void TLabel::Paint() {
    TextRenderer* renderer = Renderer();
    if (!renderer) return;
    Image picture(Width(), Height());
    raster::fillRect(picture, picture.bounds(), colorToRgb(Color()));
    const Font& font = GetFont();
    const std::uint32_t ink = Enabled() ? font.rgb : colorToRgb(clGrayText);
    const int lineHeight = renderer->measure(font, kLineProbe).height;
    int y = 0;
    for (const std::string& line : lines(*renderer)) {
        renderer->draw(picture, 0, y, picture.bounds(), font, line, ink);
        y += lineHeight;
    }
    DrawImage(picture);
}

void TLabel::MouseInput(const MouseEvent& event) {
    TGraphicControl::MouseInput(event);
    if (event.button != MouseEvent::Button::Left) return;
    if (event.kind == MouseEvent::Kind::Down) {
        pressed_ = true;
    } else if (event.kind == MouseEvent::Kind::Up) {
        const bool inside = Rect{0, 0, Width(), Height()}.contains(event.position);
        const bool click = pressed_ && inside && Enabled();
        pressed_ = false;
        if (click && OnClick) OnClick(*this);
    }
}

bool TLabel::readStoredValue(const StoredValue& value) {
    const bool* flag = value.as<bool>();
    const std::string* text = value.as<std::string>();
    if (value.property == "Caption" && text) {
        SetCaption(*text);
    } else if (value.property == "WordWrap" && flag) {
        SetWordWrap(*flag);
    } else {
        return TGraphicControl::readStoredValue(value);
    }
    return true;
}

bool TLabel::readStoredEvent(const std::string& property, const TNotifyEvent& handler) {
    if (property != "OnClick") return TGraphicControl::readStoredEvent(property, handler);
    OnClick = [handler](TLabel& sender) { handler(sender); };
    return true;
}

}  // namespace zozuz
