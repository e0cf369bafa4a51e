#pragma once
// What the application's input hook needs of a data grid: one step of the
// mouse wheel. The grid implements it next to its widget class.

namespace kal {

class IWheelNavigable {
public:
    virtual ~IWheelNavigable() = default;

    // One wheel event over the focused grid. `delta` is the vertical wheel
    // delta, never 0: below 0 (wheel turned towards the user) moves the
    // grid's dataset to the next record, above 0 to the prior one. The grid
    // leaves its dataset alone when it has none, when it is closed, and while
    // a record is being edited or inserted. The grid itself never scrolls by
    // the wheel.
    virtual void wheelStep(int delta) = 0;
};

} // namespace kal
