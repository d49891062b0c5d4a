// Every fixed limit of Lumetta, each with the reason for its value. Records hold fixed
// buffers of these sizes, so that nothing grows at run time and every copy is bounded.
#pragma once

#include <cstddef>

// --- data.ini ------------------------------------------------------------------

// Models in the list and pattern steps per model: more are reported and cut.
inline constexpr int kMaxModels = 20;
inline constexpr int kMaxSteps = 20;
// One configuration value: at most 519 characters and the zero.
inline constexpr std::size_t kValueSize = 520;
// A model or step line before it is split at its commas: two values' worth.
inline constexpr std::size_t kLineSize = 1040;
// The longest path the platform can name (its extended-length limit) and the zero.
inline constexpr std::size_t kConfigPathSize = 32768;
// A data.ini is a few kilobytes; no more than this of a stray huge file is read.
inline constexpr std::size_t kMaxIniFileBytes = 64 * 1024 * 1024;

// --- monitors ------------------------------------------------------------------

// Monitors of one desktop that Lumetta tells apart; more than any real desk has.
inline constexpr int kMaxMonitors = 16;
// A monitor's device name as the platform gives it (CCHDEVICENAME, 32) and the zero.
inline constexpr std::size_t kMonitorNameSize = 33;

// --- monitor settings over DDC/CI ------------------------------------------------

// Rows of settings on one step: as many as the wizard grows by without leaving a
// small screen.
inline constexpr int kMaxSettingRows = 3;
// Positions carried between two takes of a slow or stuck worker: every row of several
// steps on several monitors. Beyond that the oldest is given up.
inline constexpr int kMaxCarried = 16;
// Real capabilities strings are well under 1 KB; a longer one is cut.
inline constexpr std::size_t kCapabilitiesSize = 8192;
// Settings whose first reading in a run is kept for Restore.
inline constexpr int kMaxOriginals = 64;
// Physical monitors behind one display monitor: enough for a cloned display.
inline constexpr int kMaxPhysicalMonitors = 4;

// --- painting --------------------------------------------------------------------

// Fills a pixel canvas records before it writes them: a vertical grating across an 8K
// screen without an early write.
inline constexpr std::size_t kMaxPendingFills = 8192;
// Rows of a frame handled at once, in memory or on their way to the screen: under
// Wine the X server takes one band while the next is filled.
inline constexpr std::size_t kBandBytes = 4 * 1024 * 1024;
// The moving pattern's readout and its zero.
inline constexpr std::size_t kMotionReadoutSize = 64;

// --- threads ---------------------------------------------------------------------

// The DDC/CI worker and the motion player, with room to spare.
inline constexpr int kMaxWorkers = 4;
// How long the UI thread waits at exit for all workers together: a worker stuck in a
// driver call must not hold the program.
inline constexpr unsigned kWorkersExitWaitMs = 300;

// --- the monitor's facts -----------------------------------------------------------

// Display modes of one monitor that are compared: more than any real one offers.
inline constexpr int kMaxDisplayModes = 512;
// A monitor's device path (its device interface), as the platform names it.
inline constexpr std::size_t kDevicePathSize = 260;
// Lines about the monitor on step 1: its identity and one per finding.
inline constexpr int kMaxMonitorLines = 6;

// --- what is kept of a run ---------------------------------------------------------

// Monitors and settings of each that monitors.ini keeps; more are not saved.
inline constexpr int kMaxSavedMonitors = 32;
inline constexpr int kMaxSavedCodes = 16;
// A monitor's key there: maker, product and serial, and its device path where need be.
inline constexpr std::size_t kMonitorKeySize = kDevicePathSize + 32;
// monitors.ini is a few kilobytes; no more than this of a damaged one is read.
inline constexpr std::size_t kMaxSavedFileBytes = 1024 * 1024;
// How long --restore waits for all monitors together before it says one did not answer.
inline constexpr unsigned kRestoreWaitMs = 5000;
