#pragma once
// A window whose load handler runs once the window counts as loaded, so that
// what the handler sets through the main window (language texts by control
// name) reaches its controls.

namespace tonara {

class LoadHandler {
public:
    virtual ~LoadHandler() = default;
    virtual void loadHandler() = 0;
};

} // namespace tonara
