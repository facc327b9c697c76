#pragma once

#include <string>
#include <vector>

#include "document/EditorHost.h"

namespace zozuz {

// An editor host that writes down what the document asks of it.
class RecordingHost : public EditorHost {
public:
    bool windowExists = true;
    std::vector<std::string> calls;

    bool editorWindowExists() const override { return windowExists; }
    void setEditorRedraw(bool on) override { calls.push_back(on ? "redraw on" : "redraw off"); }
    void refreshEditor() override { calls.push_back("refresh"); }
    void editorTextChanged() override { calls.push_back("changed"); }
};

}  // namespace zozuz
