// The in-line "^" sequences of a text: "^!" "^/" "^_" "^-" add bold,
// italic, underline and strike-out from the next run on, "^#" returns to the
// element's style, "^$n" takes pen n's colour, "^*" switches sequences off
// until "^^", and "^u" "^d" "^o" "^n" "^b" "^B" "^c" "^w" draw the next
// character raised, lowered, overlaid or squeezed.
#include <cmath>
#include <numbers>

#include "func.h"
#include "gra_attribute.h"
#include "gval.h"
#include "text_draw.h"
#include "text_draw_internal.h"

namespace {

constexpr double kPi = std::numbers::pi;

bool IsLead(char c) { return IsSjisLeadByte(static_cast<unsigned char>(c)); }

class TSequenceWalk {
 public:
  TSequenceWalk(TCanvas& canvas, int32_t style, const std::string& face, double x, double y,
                double angle, double h, double w, double sp)
      : canvas_(canvas), face_(face), style_(style), current_(style), next_(style), x_(x), y_(y),
        angle_(angle), h_(h), w_(w), sp_(sp), cos_(std::cos(angle)), sin_(std::sin(angle)) {}

  void Run(const std::string& t) {
    const size_t n = t.size();
    size_t i = 0;
    while (i < n) {
      const char b = t[i];
      if (IsLead(b)) {
        if (i + 1 == n) break;  // a lead byte without its trail byte is dropped
        Character(t.substr(i, 2));
        i += 2;
      } else if (b == '^') {
        if (i + 1 == n) {
          pending_ += '^';
          break;
        }
        const char k = t[i + 1];
        i += 2;
        if (!Caret(t, k, i)) break;
      } else {
        i = OneByte(t, i);
      }
    }
    if (!pending_.empty()) DrawTextString(canvas_, current_, face_, x_, y_, angle_, h_, w_, sp_, pending_);
  }

 private:
  // A two-byte character.
  void Character(const std::string& ch) {
    if (mode_ == 0) {
      pending_ += ch;
    } else if (mode_ == 8) {
      pending_ += "^w" + ch;  // squeezing is for one-byte characters only
    } else {
      DrawMode(ch, true);
    }
    mode_ = 0;
    previousWidth_ = 2;
  }

  // A one-byte character at i; answers where the walk goes on.
  size_t OneByte(const std::string& t, size_t i) {
    const size_t n = t.size();
    if (mode_ == 0) {
      pending_ += t[i];
      ++i;
    } else if (mode_ == 8) {
      // Two one-byte characters may share one full-width cell.
      const size_t take = i + 1 < n && !IsLead(t[i + 1]) ? 2 : 1;
      DrawSqueezed(t.substr(i, take));
      i += take;
    } else {
      DrawMode(t.substr(i, 1), false);
      ++i;
    }
    mode_ = 0;
    previousWidth_ = 1;
    return i;
  }

  // "^" and the sign k after it; i is the byte after k. Answers false when
  // the walk ends.
  bool Caret(const std::string& t, char k, size_t& i) {
    if (!enabled_) {
      if (k == '^') {
        Flush();
        enabled_ = true;
      } else {
        Literal("^", k, t, i);
      }
      return true;
    }
    switch (k) {
      case '!': next_ |= 1; Flush(); return true;
      case '/': next_ |= 2; Flush(); return true;
      case '_': next_ |= 4; Flush(); return true;
      case '-': next_ |= 8; Flush(); return true;
      case '#': next_ = style_; Flush(); return true;
      case '*': enabled_ = false; Flush(); return true;
      case '$': {
        if (i >= t.size()) {
          pending_ += "^$";
          return false;
        }
        const char c = t[i++];
        const int32_t pen = StrToIntOrZero(std::string(1, c));
        if (pen >= 1 && pen <= 9) {
          pendingColor_ = pen;
          Flush();
        } else {
          Literal("^$", c, t, i);
        }
        return true;
      }
      case 'u': case 'd': case 'o': case 'n': case 'b': case 'B': case 'c': case 'w': {
        if (i >= t.size() || t[i] == '^') {
          pending_ += '^';
          pending_ += k;
          previousWidth_ = 1;
          return true;
        }
        static constexpr char kModes[] = "udonbBcw";
        mode_ = static_cast<int>(std::string_view(kModes).find(k)) + 1;
        Flush();
        return true;
      }
      default:
        Literal("^", k, t, i);
        return true;
    }
  }

  // A sign that means nothing is kept as text. When the byte after it is a
  // lead byte the whole character is kept with it, so its trail byte (which
  // may be "^") is not read as the start of a sequence; a lead byte that
  // ends the text is dropped.
  void Literal(const char* sign, char k, const std::string& t, size_t& i) {
    pending_ += sign;
    if (!IsLead(k)) {
      pending_ += k;
      previousWidth_ = 1;
      return;
    }
    if (i < t.size()) {
      pending_ += k;
      pending_ += t[i++];
    }
    previousWidth_ = 2;
  }

  void Flush() {
    if (!pending_.empty()) {
      DrawTextString(canvas_, current_, face_, x_, y_, angle_, h_, w_, sp_, pending_);
      Advance(static_cast<double>(pending_.size()) * (w_ + sp_) / 2);
      pending_.clear();
    }
    current_ = next_;
    if (pendingColor_ != 0) {
      if (Gval.GraAttribute != nullptr) canvas_.SetPenColor(Gval.GraAttribute->GetPenColor(pendingColor_));
      pendingColor_ = 0;
    }
  }

  void Advance(double d) {
    x_ += cos_ * d;
    y_ += sin_ * d;
  }

  // Draws at the current point moved back along the text by back and up by up.
  void DrawAt(double back, double up, double h, double w, double sp, const std::string& s) {
    const double x = x_ - cos_ * back + std::cos(angle_ + kPi / 2) * up;
    const double y = y_ - sin_ * back + std::sin(angle_ + kPi / 2) * up;
    DrawTextString(canvas_, current_, face_, x, y, angle_, h, w, sp, s);
  }

  // Going back by this much centres an overlay on the previous character.
  double Back(double f) const {
    return previousWidth_ * sp_ / 2 + previousWidth_ * w_ / 4 + f;
  }

  void DrawMode(const std::string& ch, bool wide) {
    const double h = h_, w = w_, sp = sp_, ah = std::fabs(h_);
    const double halfW = wide ? w / 2 : w;  // the width the small characters are drawn with
    switch (mode_) {
      case 1:  // raised
        DrawAt(0, ah / 2, h / 2, halfW, sp, ch);
        Advance((w + sp) / 2);
        break;
      case 2:  // lowered
        DrawAt(0, 0, h / 2, halfW, sp, ch);
        Advance((w + sp) / 2);
        break;
      case 3:  // small, over the previous character
        DrawAt(Back(wide ? w / 4 : w / 8), ah / 4, h / 2, w / 2, sp, ch);
        break;
      case 4:
        DrawAt(Back(wide ? w / 2 : w / 4), 0, h, w, sp, ch);
        break;
      case 5:
        DrawAt(Back(wide ? w / 4 : w / 8), 0, h, w, sp, ch);
        break;
      case 6:
        DrawAt(Back(wide ? 0.3 * w : 0.15 * w), 0, h, w, sp, ch);
        break;
      case 7:  // small, centred in the line
        DrawAt(0, ah / 4, h / 2, halfW, sp, ch);
        Advance((w + sp) / 2);
        break;
      default:
        break;
    }
  }

  void DrawSqueezed(const std::string& s) {
    const double f = static_cast<double>(s.size()) * w_ / 8;
    DrawAt(Back(f), std::fabs(h_) / 4, h_ / 2, w_ / 2, 0, s);
  }

  TCanvas& canvas_;
  const std::string& face_;
  const int32_t style_;
  int32_t current_, next_;
  double x_, y_;
  const double angle_, h_, w_, sp_, cos_, sin_;
  int32_t pendingColor_ = 0;
  bool enabled_ = true;
  int mode_ = 0;
  int previousWidth_ = 0;
  std::string pending_;
};

}  // namespace

void DrawTextSequences(TCanvas& canvas, int32_t style, const std::string& face, double x, double y,
                       double angle, double h, double w, double sp, const std::string& text) {
  TSequenceWalk(canvas, style, face, x, y, angle, h, w, sp).Run(text);
}
