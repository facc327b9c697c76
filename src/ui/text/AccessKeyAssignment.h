#pragma once

#include <string>
#include <vector>

namespace zozuz {

// One entry of a menu level as the access-key rule sees it.
struct AccessKeyEntry {
    std::string caption;
    // Hidden entries keep their captions and take no key.
    bool visible = true;
};

// Whether the system shows double-byte characters in its menus. On such a system a key is added as
// a group "(&X)" to captions that hold double-byte characters (here: any non-ASCII character), and
// entries that find no key in their own caption are still given one.
enum class MenuCharacterSet { SingleByte, DoubleByte };

// Gives the entries of one menu level unique access keys from "1234567890A...Z", compared without
// case. Entries that are hidden, separator lines ("-") or without caption take no part. In display
// order, each entry keeps a key that is still free; an entry whose key among those characters is
// already taken loses its mark (a "(&X)" group whole on a double-byte system) and waits, as does an
// entry without key. Waiting entries then take the first free single-byte character of their own
// caption, the order being retried with the unserved entries moved to the end so that as many as
// possible are served; on a double-byte system, each entry still without a key gets the last free
// character, appended as a group. Groups go before a final "...".
//
// Rewrites the captions in place and returns whether any of them changed, so that the menu knows
// to rebuild the level. The result is stable: a level that has been through it keeps its captions.
bool assignAccessKeys(std::vector<AccessKeyEntry>& entries,
                      MenuCharacterSet characterSet = MenuCharacterSet::DoubleByte);

}  // namespace zozuz
