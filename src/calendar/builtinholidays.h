#pragma once
// The national holidays of Japan as holiday lines, in processing order.
#include <QStringList>

namespace vn::cal {

const QStringList& BuiltInHolidayLines();

} // namespace vn::cal
