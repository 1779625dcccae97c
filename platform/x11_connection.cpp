#include "platform/x11_connection.h"

namespace platform {

namespace {
Display* connection = nullptr;
}

Display* own_connection()
{
    if (!connection)
        connection = XOpenDisplay(nullptr);
    return connection;
}

} // namespace platform
