#pragma once

#include <string>
#include <vector>

#include "platform/Platform.h"

namespace velinor::platform {

// What a user does to the windows, as a script (or a test) performs it. Each backend changes
// its controls the way the user's action would and queues the event the action raises, so the
// program sees exactly what it would see from a real user. The scripted platform drives both
// backends through this interface, which is why a script gives the same log on either.
class UserActions {
public:
    virtual ~UserActions() = default;

    // Buttons press, options become checked (group rules), checkboxes toggle; control event kind 0.
    virtual void UserClick(ControlId id) = 0;
    // A spin, track bar, combo box, tab panel or list selection changes to value; control event.
    virtual void UserSet(ControlId id, int value) = 0;
    // The user types into a text field (replaces its text); control event.
    virtual void UserType(ControlId id, const std::string& text) = 0;
    // List entries become selected (all = every entry); control event.
    virtual void UserSelect(ControlId id, const std::vector<int>& indices, bool all) = 0;
    // Key press with the given keys held down ("Ctrl+A"); key event.
    virtual void UserKey(const std::vector<Key>& keysDown) = 0;
    // Pointer moves to a point in a window's client area; a non-control event.
    virtual void UserPointer(int window, Point client) = 0;
    virtual void UserToolbar(ToolbarItem item) = 0;
    virtual void UserDrop(const std::vector<std::string>& files) = 0;
    virtual void UserClose(int window) = 0;
    // True while an event raised by a user action waits in the backend's queue.
    virtual bool HasPendingEvent() const = 0;
};

}  // namespace velinor::platform
