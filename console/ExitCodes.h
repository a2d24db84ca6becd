#pragma once
// What TessalyCmd.exe ends with. Deployment tools decide on these alone, so
// each says one thing and none is reused.
namespace console {

inline constexpr int kExitDone = 0;          // everything asked for was done (or planned)
inline constexpr int kExitNotDone = 1;       // something asked for could not be done
inline constexpr int kExitUsage = 2;         // bad command line, unknown printer, real run without /yes
inline constexpr int kExitNotPermitted = 3;  // not elevated: the service database cannot be locked
inline constexpr int kExitJobsQueued = 4;    // a listed printer still has queued jobs

}  // namespace console
