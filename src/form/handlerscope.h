#pragma once

// The form's handler pattern: a handler acts only while its flag
// (handlersEnabled) is set, and switches it off while it runs, so that
// controls it changes (mirrored sliders, fields that follow the record) do not
// re-enter any handler. A scope entered with the flag off leaves it off.
class HandlerScope
{
public:
    explicit HandlerScope(bool &enabled) : flag(enabled), active(enabled) { flag = false; }
    ~HandlerScope()
    {
        if (active)
            flag = true;
    }
    HandlerScope(const HandlerScope &) = delete;
    HandlerScope &operator=(const HandlerScope &) = delete;
    explicit operator bool() const { return active; }

private:
    bool &flag;
    const bool active;
};
