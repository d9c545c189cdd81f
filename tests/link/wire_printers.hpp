#pragma once

#include <ostream>

#include "wire_codec.hpp"

// Lets GoogleTest print wire values as their canonical JSON when an expectation fails.
inline void PrintTo(const LiveTranslationHelperHostMessage &message, std::ostream *out)
{
    *out << encodeHostMessage(message);
}

inline void PrintTo(const LiveTranslationHelperCommand &command, std::ostream *out)
{
    *out << encodeCommand(command);
}
