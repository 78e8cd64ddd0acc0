#pragma once
// The process's standard streams, readied before anything else opens a
// descriptor or a socket.

namespace orvane {

// Opens each standard descriptor that is closed at start on the null device,
// so that no socket takes its number and receives what is printed, and makes a
// write to a pipe whose reader has gone fail rather than end the program, so
// that a configuration under way still finishes. Returns whether standard
// output was closed: then what is printed reaches nobody, and the program must
// say so by its exit code. standard_streams_<platform>.cpp.
bool PrepareStandardStreams();

}  // namespace orvane
