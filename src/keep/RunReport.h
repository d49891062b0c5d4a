// The report Lumetta writes at the last step: the monitor and what step 1 said of it,
// the model, the steps shown and every monitor setting with its first and final value.
// The report is a pure function of that record.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/Limits.h"

// The run as the report tells it; every text UTF-8.
struct RunRecord {
    std::string version;
    std::string when;           // the local date and time
    std::string monitorName;    // \\.\DISPLAYn
    std::vector<std::string> monitorLines;  // step 1's: the identity, then the findings
    std::string mode;           // "1920 x 1080 at 60 Hz"; empty: unknown
    std::string model;
    struct Step {
        std::string purpose;
        std::string seen;
    };
    std::vector<Step> steps;
    struct Setting {
        std::string monitorName;
        std::string label;
        std::uint32_t first;
        std::uint32_t last;
    };
    std::vector<Setting> settings;
};

// A whole HTML page in UTF-8: no script, nothing fetched from outside, every text escaped.
std::string ReportHtml(const RunRecord& record);
// The text escaped for HTML's text and attribute values.
std::string EscapeHtml(std::string_view text);
// "2026-12-09 1403 Flat panel.html": the date, the time and the model, with what no file
// name may hold replaced.
std::string ReportFileName(std::string_view stamp, std::string_view model);
