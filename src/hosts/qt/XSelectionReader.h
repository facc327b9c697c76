#pragma once

#include <chrono>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include <xcb/xcb.h>

namespace zozuz {

// Reads the X server's CLIPBOARD selection from the program that owns it, over a connection of its
// own, and waits for each answer only as long as it is told. Qt's own reader waits five seconds for
// an owner that never answers and then hands over empty data, which cannot be told from data that is
// empty; here a refusal, a silent owner and a transfer that breaks off are each told from what was
// read. Events of Qt's connection are Qt's, which is why the reader has a connection of its own.
class XSelectionReader {
public:
    enum class Answer {
        Data,     // the owner sent the data (which may be empty)
        Refused,  // nobody owns the selection, the owner cannot give it in that format, or its reply
                  // was unreadable
        Silent,   // the owner did not answer in time, or stopped answering halfway through
    };
    struct Result {
        Answer answer = Answer::Refused;
        std::string data;  // empty unless the answer is Data
    };

    // Connects to the display of that name (the DISPLAY variable's when null); a reader that cannot
    // connect refuses every read.
    XSelectionReader(const char* displayName, std::chrono::milliseconds patience);
    ~XSelectionReader();
    XSelectionReader(const XSelectionReader&) = delete;
    XSelectionReader& operator=(const XSelectionReader&) = delete;

    bool connected() const { return connection_ != nullptr; }
    // The window that owns the selection now; 0 when there is none.
    std::uint32_t owner();
    // The selection converted to the target of that name (a MIME type or an atom's name such as
    // UTF8_STRING), large transfers in increments included. An owner may answer for a target it
    // does not list (some send their one text for any target), so a reader asks only for targets
    // that offers() found listed.
    Result read(std::string_view target);
    // The targets the owner lists, read from it; what is not Data is Refused or Silent as for read().
    Result targets() { return read("TARGETS"); }
    // Whether a list that targets() read holds the target of that name.
    bool offers(const Result& targets, std::string_view target);

private:
    xcb_atom_t atom(std::string_view name);
    // The next event the predicate accepts, waiting no longer than the patience; null when none
    // comes in time. Every other event on this connection is dropped: it has no other use for them.
    template <typename Accept>
    xcb_generic_event_t* waitFor(std::uint8_t type, Accept accept);
    Result transfer(xcb_window_t requestor, xcb_atom_t target);

    xcb_connection_t* connection_ = nullptr;  // null when the display could not be reached
    xcb_window_t root_ = 0;
    std::chrono::milliseconds patience_;
    std::map<std::string, xcb_atom_t, std::less<>> atoms_;
};

}  // namespace zozuz
