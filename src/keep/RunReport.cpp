#include "keep/RunReport.h"

#include <algorithm>
#include <cstring>

#include "base/Text.h"

namespace {

// A file name stays well below any path limit.
constexpr std::size_t kMaxModelInName = 60;

constexpr std::string_view kStyle =
    "body{font-family:Segoe UI,Arial,sans-serif;margin:2em;color:#222}"
    "h1{font-size:1.4em}h2{font-size:1.1em;margin-top:1.5em}"
    "table{border-collapse:collapse}td,th{border:1px solid #bbb;padding:.3em .6em;text-align:left}"
    "td.n{text-align:right}";

void Row(std::string& html, std::initializer_list<std::string_view> cells, bool heading = false)
{
    html += "<tr>";
    for (const std::string_view cell : cells) html += (heading ? "<th>" : "<td>") + EscapeHtml(cell) + (heading ? "</th>" : "</td>");
    html += "</tr>\n";
}

}  // namespace

std::string EscapeHtml(std::string_view text)
{
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&#39;"; break;
        case '\r': break;
        case '\n': out += "<br>"; break;
        default: out += c; break;
        }
    }
    return out;
}

std::string ReportHtml(const RunRecord& record)
{
    std::string html = "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n<title>Lumetta report, " +
                       EscapeHtml(record.when) + "</title>\n<style>" + std::string(kStyle) + "</style>\n</head>\n<body>\n";
    html += "<h1>Lumetta report</h1>\n<p>Lumetta " + EscapeHtml(record.version) + ", " + EscapeHtml(record.when) +
            "</p>\n<h2>Monitor</h2>\n<table>\n";
    Row(html, {"Device", record.monitorName});
    if (!record.mode.empty()) Row(html, {"Desktop mode", record.mode});
    Row(html, {"Model", record.model});
    html += "</table>\n";
    if (!record.monitorLines.empty()) {
        html += "<ul>\n";
        for (const std::string& line : record.monitorLines) html += "<li>" + EscapeHtml(line) + "</li>\n";
        html += "</ul>\n";
    }
    html += "<h2>Steps shown</h2>\n<table>\n";
    Row(html, {"Purpose", "What is seen"}, true);
    for (const RunRecord::Step& step : record.steps) Row(html, {step.purpose, step.seen});
    html += "</table>\n<h2>Monitor settings</h2>\n";
    if (record.settings.empty()) {
        html += "<p>None was read or set over DDC/CI.</p>\n";
    } else {
        html += "<table>\n";
        Row(html, {"Monitor", "Setting", "First read", "At the end"}, true);
        for (const RunRecord::Setting& setting : record.settings)
            html += "<tr><td>" + EscapeHtml(setting.monitorName) + "</td><td>" + EscapeHtml(setting.label) +
                    "</td><td class=\"n\">" + std::to_string(setting.first) + "</td><td class=\"n\">" +
                    std::to_string(setting.last) + "</td></tr>\n";
        html += "</table>\n";
    }
    return html + "</body>\n</html>\n";
}

std::string ReportFileName(std::string_view stamp, std::string_view model)
{
    std::string name(stamp);
    char cut[kMaxModelInName + 1];
    CopyText(cut, model, TextEncoding::Utf8);
    std::string cleaned;
    for (const char c : std::string_view(cut)) {
        const bool forbidden = static_cast<unsigned char>(c) < 0x20 || std::strchr("<>:\"/\\|?*", c) != nullptr;
        cleaned += forbidden ? '_' : c;
    }
    while (!cleaned.empty() && (cleaned.back() == ' ' || cleaned.back() == '.')) cleaned.pop_back();
    if (!cleaned.empty()) name += " " + cleaned;
    return name + ".html";
}
