#pragma once

#include <string_view>

#include "base/LeadByteSet.h"

namespace zozuz {

// Tells whether an encrypted text lost its CR LF line breaks to another tool: a version control
// checkout, an ASCII-mode transfer or dos2unix turns each CR LF into a bare LF. The program ends every
// line of an encrypted text with CR LF, and a bare CR or LF inside a line comes only from a form feed
// or a tab that the cipher raised; so a text with no CR LF pair at all but with bare CR or LF bytes
// is taken to be converted, and its line breaks are restored before it is decrypted. A text with one
// CR LF pair anywhere is taken byte for byte. The trade-off: a one-line text whose only bare LF came
// from a tab is split there.
//
// The text may arrive in pieces; a CR at the end of one piece pairs with an LF that opens the next.
class ConvertedBreaks {
public:
    void feed(std::string_view piece);

    // Whether a CR LF pair has been seen: then nothing that follows changes the answer.
    bool sawPair() const { return sawPair_; }
    // Once the whole text has been fed: whether its line breaks are to be restored.
    bool converted() const { return !sawPair_ && sawBreak_; }

    // How the breaks of a converted text are restored: an encrypted text's bytes are raised, so its
    // lead bytes tell nothing of where its characters are; every bare CR or LF is a line break.
    static constexpr LeadByteSet restoringLeadBytes() { return LeadByteSet{}; }

private:
    // sawPair_ once a CR LF pair was fed; sawBreak_ once any CR or LF was; lastWasCR_ while the
    // last byte fed was a CR.
    bool sawPair_ = false;
    bool sawBreak_ = false;
    bool lastWasCR_ = false;
};

}  // namespace zozuz
