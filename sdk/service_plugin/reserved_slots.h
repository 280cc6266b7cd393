// Host services begin with six operations the plug-in never calls; deriving from this keeps
// the services' own operations at slot 6 and up.
#pragma once

namespace service_plugin {

class ReservedFirstSixSlots {
public:
    virtual void Reserved0() {}  // 0
    virtual void Reserved1() {}  // 1
    virtual void Reserved2() {}  // 2
    virtual void Reserved3() {}  // 3
    virtual void Reserved4() {}  // 4
    virtual void Reserved5() {}  // 5

protected:
    ~ReservedFirstSixSlots() = default;
};

}  // namespace service_plugin
