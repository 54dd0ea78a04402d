#pragma once

#include <sstream>

// The string streams with which the library composes every message: chain texts and numbers,
// then take the string.
class GLIB_OStringStream : public std::ostringstream
{
public:
    GLIB_OStringStream() = default;
    ~GLIB_OStringStream() override;
};

class GLIB_WOStringStream : public std::wostringstream
{
public:
    GLIB_WOStringStream() = default;
    ~GLIB_WOStringStream() override;
};
