#pragma once
// EDatabaseError: raised by the query layer when the data file cannot be opened, a
// statement fails (the message is SQLite's own), a parameter or field name is unknown,
// or a dataset is used in a state that does not allow the operation.

#include "framework/rtl/SysUtils.h"

class EDatabaseError : public Exception {
public:
    using Exception::Exception;
};
