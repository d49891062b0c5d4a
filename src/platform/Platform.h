// The seams through which the portable core reaches the desktop: drawing, message
// boxes, the INI reader, the wizard's controls, the shell of the two windows on the
// desktop's monitors and the monitors' own settings over DDC/CI. The
// Win32 adapters implement them in src/win32; tests and tools implement them in memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "base/Geometry.h"
#include "base/Limits.h"
#include "base/Text.h"

using Colour = std::uint32_t;  // 0x00BBGGRR, red in the low byte

inline constexpr Colour kBlack = 0x000000;
inline constexpr Colour kWhite = 0xFFFFFF;
inline constexpr Colour kRed = 0x0000FF;
inline constexpr Colour kGreen = 0x00FF00;
inline constexpr Colour kBlue = 0xFF0000;

struct MonitorList;   // monitor/Monitors.h
struct MonitorFacts;  // monitor/MonitorCheck.h
struct MonitorLines;

// One drawing context, held for the length of one painter call; closing it (the
// destructor) ends what the painter drew as one piece.
class DrawingContext {
public:
    virtual ~DrawingContext() = default;
    // Fills with one colour.
    virtual void Fill(Rect rect, Colour colour) = 0;
    // Fills with a one-pixel checkerboard anchored at client (0, 0), whatever the
    // rectangle: pixel (x, y) takes even where x + y is even and odd elsewhere.
    virtual void FillChecker(Rect rect, Colour even, Colour odd) = 0;
    // The colour of the one-pixel lines drawn from now on; black until set.
    virtual void SetLineColour(Colour colour) = 0;
    virtual void MoveTo(int x, int y) = 0;
    // A one-pixel line from the current position; the end point is excluded. Painters
    // draw horizontal and vertical lines only.
    virtual void LineTo(int x, int y) = 0;
    // One character in the context's default font: black on an opaque white cell,
    // with the cell's top-left corner at (x, y).
    virtual void DrawChar(int x, int y, char c) = 0;
};

// A window's client area as the painters see it.
class Canvas {
public:
    virtual ~Canvas() = default;
    virtual Size ClientSize() = 0;
    virtual std::unique_ptr<DrawingContext> Open() = 0;
};

// The pattern window as the paint cycle sees it: each frame is drawn on a canvas of the
// window's client size and then put on the window as a whole.
class PatternScreen {
public:
    virtual ~PatternScreen() = default;
    // paint draws the frame on a canvas of the window's client size. It may be called
    // more than once for one frame (again for the band of rows that holds characters).
    virtual void ShowFrame(const std::function<void(Canvas&)>& paint) = 0;
};

enum class MessageOwner { Dialog, PatternWindow };
enum class MessageButtons { Ok, OkCancel };
enum class MessageAnswer { Ok, Cancel };

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // Modal, without an icon; waits until the user answers. The caption is Lumetta's own.
    virtual MessageAnswer Show(MessageOwner owner, const char* text, TextEncoding encoding,
                               const char* caption, MessageButtons buttons) = 0;
};

// Reads one value of an INI file the way GetPrivateProfileStringA does with no
// default: a missing file, section or key gives an empty text, and a value longer
// than out.size() - 1 is cut and still terminated. Returns how the text is encoded:
// UTF-8 for a UTF-8 or UTF-16 file, whose value is cut at a character boundary; ANSI,
// the file's own bytes, for any other.
class IniReader {
public:
    virtual ~IniReader() = default;
    virtual TextEncoding Read(const char* section, const char* key, std::span<char> out,
                              const char* path) = 0;
};

// The wizard dialog's controls, addressed by their IDC_ identifiers. Every text carries
// its encoding, so that any character of data.ini reaches the screen.
class DialogControls {
public:
    virtual ~DialogControls() = default;
    virtual void SetText(int id, const char* text, TextEncoding encoding) = 0;
    virtual void Enable(int id, bool enabled) = 0;
    virtual void Show(int id, bool visible) = 0;
    virtual void Focus(int id) = 0;
    virtual void AddListEntry(int id, const char* text, TextEncoding encoding) = 0;
    virtual void SelectListEntry(int id, int index) = 0;
    virtual int SelectedListEntry(int id) = 0;  // -1 when nothing is selected
    virtual int ListEntryCount(int id) = 0;
    // Moves the dialog's top-left corner there; its size stays.
    virtual void MoveDialog(int x, int y, bool repaint) = 0;
    // The dialog's window rectangle in virtual-screen pixels. Its size is not constant:
    // the platform rescales the dialog on a monitor of another DPI.
    virtual Rect DialogRect() = 0;
    // Offers or greys out a command of the dialog's system menu.
    virtual void EnableSystemCommand(int id, bool enabled) = 0;
    // Makes that many rows of monitor settings (label, trackbar, value, note) and the
    // Restore button between the texts and the buttons, growing the dialog to hold
    // them; 0 removes them, leaving the template's controls and size.
    virtual void SetSettingRows(int count) = 0;
    // A trackbar's range, 0 to maximum, and its position.
    virtual void SetSlider(int id, int maximum, int position) = 0;
    // Offers the button that opens the report at that path (UTF-8) in the browser; an
    // empty path takes it back.
    virtual void OfferReport(const char* path) = 0;
    // Makes the step's lines below the model list (about the monitor on step 1, about
    // the report on the last step), each as tall as its text needs, growing the dialog
    // to hold them; no lines leave the template's controls and size.
    virtual void SetStepLines(const MonitorLines& lines) = 0;
};

// The two windows of the program: the full-screen pattern window and the wizard, and
// the monitors they are shown on.
class Shell {
public:
    virtual ~Shell() = default;
    // Every monitor of the desktop, in the system's order, at most kMaxMonitors.
    virtual void EnumerateMonitors(MonitorList& monitors) = 0;
    // What the system tells of the monitor of that device name; what it cannot tell
    // stays unknown.
    virtual void GatherFacts(const char* monitorName, MonitorFacts& facts) = 0;
    // Only what names the monitor, its EDID and device path: all that its saved settings
    // are keyed by, without the slower rest.
    virtual void IdentifyMonitor(const char* monitorName, MonitorFacts& facts) { GatherFacts(monitorName, facts); }
    // Moves and sizes the pattern window to cover exactly the rectangle (virtual-screen
    // pixels), without showing, hiding or activating it.
    virtual void PlacePatternWindow(Rect rect) = 0;
    virtual void ShowPatternWindow(bool visible) = 0;
    // Paints the pattern window now, before returning; never through the queue.
    virtual void PaintPatternWindow() = 0;
    // Shows the moving pattern at speed px/s on the pattern window, whole and at once:
    // where it already plays there at the window's size, the frame it has reached;
    // otherwise its first frame. The frames after it follow from a thread of its own.
    virtual void ShowMotion(int speed) = 0;
    // Stops the moving pattern: nothing of it reaches the window after this returns.
    virtual void StopMotion() = 0;
    // Ends the run: the pattern window is told it is destroyed.
    virtual void DestroyPatternWindow() = 0;
};

// --- The monitor's own settings over DDC/CI (VESA MCCS) ----------------------


enum class SettingState : std::uint8_t {
    Reading,   // not read yet: the trackbar is disabled and shows no number
    Ready,
    NotTaken,  // the last value written did not stick; the value is what was read
    NoDdc,     // only the monitor's own buttons can change it
};

// Whether a trackbar may move the setting: a value that was not taken may be tried again.
inline bool Writable(SettingState state) { return state == SettingState::Ready || state == SettingState::NotTaken; }

struct VcpReading {
    std::uint32_t current;
    std::uint32_t maximum;
};

// The last position of a row the user has left, for the monitor it was read from.
struct CarriedValue {
    char monitorName[kMonitorNameSize];
    std::uint8_t code;
    std::uint32_t value;
};

struct CarriedValues {
    int count;
    CarriedValue values[kMaxCarried];
};

// What the wizard wants of the worker. The worker always works from the newest copy,
// so a trackbar being dragged leaves one wanted value per row, never a queue.
struct SettingsRequest {
    std::uint32_t readGeneration;  // a change: read every row again
    std::uint32_t openGeneration;  // a change: enumerate the physical monitors afresh
    char monitorName[kMonitorNameSize];
    int count;
    std::uint8_t codes[kMaxSettingRows];
    std::uint32_t wanted[kMaxSettingRows];
    // Raised with each new wanted value; a row with no value to write has serial 0.
    std::uint32_t wantedSerial[kMaxSettingRows];
    // Values of the rows just left that may not have been written yet: the last
    // position is written even when the user moves on at once. Each is handed to the
    // worker once: posting adds to those it has not taken yet.
    CarriedValues carried;
};

struct SettingRow {
    std::uint8_t code;
    SettingState state;
    VcpReading reading;
    std::uint32_t original;  // as first read in this run, for Restore
    std::uint32_t serial;    // the wanted serial that this reading follows
};

struct SettingsReport {
    std::uint32_t readGeneration;  // of the request it answers
    int count;
    SettingRow rows[kMaxSettingRows];
};

// The wizard's side: hands the newest request to the worker and returns at once.
class SettingsChannel {
public:
    virtual ~SettingsChannel() = default;
    virtual void Post(const SettingsRequest& request) = 0;
};

// The physical monitors behind one display monitor. Each call may take long: only
// the worker thread makes them.
class MonitorLink {
public:
    virtual ~MonitorLink() = default;
    // Releases the monitors opened before, then opens those of the display monitor of
    // that device name; returns how many there are.
    virtual int Open(const char* monitorName) = 0;
    virtual void Close() = 0;
    // Physical monitor 0's capabilities string, zero-terminated; false on failure.
    virtual bool Capabilities(std::span<char> out) = 0;
    virtual bool Read(int physical, std::uint8_t code, VcpReading& reading) = 0;
    virtual bool Write(int physical, std::uint8_t code, std::uint32_t value) = 0;
};

// The worker's side: its stop, its waits and its mailbox.
class WorkerSide {
public:
    virtual ~WorkerSide() = default;
    // Whether the stop has been given: looked at between every two calls to the monitor,
    // each of which may take long.
    virtual bool Stopped() = 0;
    // Until a new request or the stop; false on the stop.
    virtual bool WaitForRequest() = 0;
    // The whole time unless stopped; false on the stop.
    virtual bool Pause(std::uint32_t ms) = 0;
    // The newest request, with the carried values posted since the last take.
    virtual void TakeRequest(SettingsRequest& out) = 0;
    // Hands the report to the wizard, which takes it when it is ready.
    virtual void Report(const SettingsReport& report) = 0;
};

// The files Lumetta keeps of a run: the report of the last step, in the user's local
// application data, and the monitors' saved settings, in the roaming one. Each is
// replaced whole, through a temporary file, so that a crash never leaves half of one.
class RunFiles {
public:
    virtual ~RunFiles() = default;
    // The local date and time as the report shows it ("2026-12-09 14:03") and as a file
    // name begins ("2026-12-09 1403").
    virtual void Now(std::span<char> shown, std::span<char> stamp) = 0;
    // A text of data.ini in UTF-8; an ANSI one through the system's code page.
    virtual std::string ToUtf8(const char* text, TextEncoding encoding) = 0;
    // Writes the report under that name; where it is, or why it could not be written (UTF-8).
    virtual bool SaveReport(std::string_view fileName, std::string_view html, std::string& whereOrWhy) = 0;
    // monitors.ini as it is (empty when there is none) and as it is to be.
    virtual std::string ReadSavedSettings() = 0;
    virtual bool WriteSavedSettings(std::string_view text) = 0;
};

// Everything the core may call; each member is owned by whoever builds the Platform.
struct Platform {
    IniReader& ini;
    MessageBoxes& messages;
    DialogControls& dialog;
    PatternScreen& patternScreen;
    Shell& shell;
    SettingsChannel& settings;
    RunFiles& files;
};
