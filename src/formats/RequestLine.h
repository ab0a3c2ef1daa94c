// The request lines of the single-instance socket: a client sends one line (show, hide, quit,
// status, status json, stop-macros, profile N, profile next, export PATH, import PATH) and reads
// one answer line ("ok", "ok TEXT" or "error TEXT").
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace veldran {

// The longest request line, its line feed included (room for a file's path of the system's
// longest); a client that sends more is dropped.
inline constexpr std::size_t kMaxRequestLine = 4352;

struct Request {
    enum class Kind {
        Invalid,
        Show,
        Hide,
        Quit,
        Status,
        StatusJson,
        StopMacros,
        Profile,
        NextProfile,
        Export, // writes the profile set to path
        Import  // replaces the profile set with the one in path
    };
    Kind kind = Kind::Invalid;
    int profile = 0;   // 1-5, for Kind::Profile
    std::string path;  // absolute, for Kind::Export and Kind::Import
    std::string error; // why the line was refused, for Kind::Invalid
};

// Parses one line without its line feed (a carriage return before it is dropped). Never throws;
// anything that is not a request comes back as Kind::Invalid with a message.
Request parseRequestLine(std::string_view line);

// What the bytes a client has sent so far make of its one request line.
struct RequestFrame {
    enum class Kind {
        Incomplete, // no line feed yet, and room for one: wait for more
        Line,       // one whole line and nothing after it
        TooLong,    // no line feed within kMaxRequestLine bytes
        Extra       // bytes after the line: one request per connection
    };
    Kind kind = Kind::Incomplete;
    std::string_view line; // for Kind::Line: the line without its line feed
};

// Frames the bytes received so far (the first kMaxRequestLine + 1 of them are enough to decide).
RequestFrame frameRequest(std::string_view received);

// The line that asks for request (without line feed): what the command line sends.
std::string requestLine(const Request& request);

// Answer lines.
std::string okAnswer(std::string_view text = {});
std::string errorAnswer(std::string_view text);

// An answer's text as a terminal may show it: every control character (C0, DEL and, in UTF-8,
// C1) becomes '?', so that a peer cannot move the cursor, retitle the window or hide text with
// escape sequences.
std::string printableAnswer(std::string_view text);

} // namespace veldran
