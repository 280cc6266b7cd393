#include "kinetra-sim/trace_html.h"

#include <array>
#include <string_view>

#include "kinetra-sim/trace_event.h"

namespace kinetra_sim {
namespace {

using tafjson::Json;

// The lanes, left to right, by the names the trace gives the ends.
constexpr std::array<std::string_view, 4> kLanes = {"engine", "plugin", "host", "server"};
constexpr std::array<std::string_view, 4> kLaneTitles = {"engine", "plug-in", "host", "servers"};
constexpr int kTimeWidth = 90;
constexpr int kLaneWidth = 200;

// A lane's index; an end this page does not know is drawn on the plug-in's lane.
int LaneOf(const std::string& end) {
    for (std::size_t i = 0; i < kLanes.size(); ++i) {
        if (kLanes[i] == end) {
            return static_cast<int>(i);
        }
    }
    return 1;
}

int LaneCentre(int lane) {
    return kTimeWidth + kLaneWidth / 2 + kLaneWidth * lane;
}

// Text for HTML, in an element or in a quoted attribute: peer text cannot open markup.
std::string Escape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&#39;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

// JSON for a script element: no "</script>" or "<!--" can come out of peer text.
std::string ScriptJson(const Json& value) {
    std::string text = tafjson::printJson(value, tafjson::JsonLayout::OneLine);
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
            case '<':
                out += "\\u003c";
                break;
            case '>':
                out += "\\u003e";
                break;
            case '&':
                out += "\\u0026";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string Attribute(const char* name, const std::string& value) {
    return std::string(" ") + name + "=\"" + Escape(value) + "\"";
}

// The attributes a reader's script selects arrows by: the ends, and the type (engine messages
// and pushes), the function (server requests and replies) or the host call.
std::string SelectorAttributes(const Json& line) {
    std::string attributes =
        Attribute("data-from", EventEnd(line, "from")) + Attribute("data-to", EventEnd(line, "to"));
    const Json* type = tafjson::findMember(line, "type");
    const Json* push = tafjson::findMember(line, "push");
    const Json* function = tafjson::findMember(line, "function");
    const Json* call = tafjson::findMember(line, "call");
    const auto text = [](const Json& value) {
        return value.is_string() ? value.get<std::string>() : value.dump();
    };
    if (type != nullptr) {
        attributes += Attribute("data-type", text(*type));
    } else if (push != nullptr) {
        attributes += Attribute("data-type", text(*push));
    } else if (function != nullptr) {
        attributes += Attribute("data-function", text(*function));
    } else if (call != nullptr) {
        attributes += Attribute("data-call", text(*call));
    }
    return attributes;
}

void WriteArrow(const Json& line, std::size_t index, Json& details, std::ostream& out) {
    const std::string from = EventEnd(line, "from");
    const std::string to = EventEnd(line, "to");
    const int start = LaneCentre(LaneOf(from));
    const int end = to.empty() ? start : LaneCentre(LaneOf(to));
    const int left = std::min(start, end);
    const int width = std::max(start, end) - left;
    const char* direction = width == 0 ? "self" : start < end ? "right" : "left";
    const std::string label = EventLabel(line);
    const Json* time = tafjson::findMember(line, "t_ms");
    const std::string milliseconds = time != nullptr ? time->dump() + " ms" : "";
    out << "<div class=\"event" << (EventIsTrouble(line) ? " trouble" : "") << "\""
        << Attribute("data-index", std::to_string(index)) << SelectorAttributes(line)
        << Attribute("data-search", from + " " + to + " " + label) << " tabindex=\"0\">"
        << "<span class=\"time\">" << Escape(milliseconds) << "</span>"
        << "<span class=\"arrow " << direction << "\" style=\"left:" << left
        << "px;width:" << std::max(width, 36) << "px\"></span>"
        << "<span class=\"label\" style=\"left:" << left + 8 << "px\">" << Escape(label)
        << "</span></div>\n";
    details.push_back({{"summary", EventSummary(line)},
                       {"fields", EventFields(line, true)},
                       {"hex", EventHex(line)}});
}

constexpr char kStyle[] = R"(
body{margin:0;font:13px/1.35 system-ui,sans-serif;color:#1d2330;background:#fafbfc}
header{position:sticky;top:0;z-index:2;background:#fff;border-bottom:1px solid #d6dae2;padding:8px 12px}
header h1{font-size:15px;margin:0 0 6px}
header input,header select{font:inherit;padding:3px 6px;margin-right:8px}
#lanes{position:relative;height:22px;margin-top:6px}
#lanes span{position:absolute;width:200px;text-align:center;font-weight:600;text-transform:uppercase;letter-spacing:.05em;color:#505a6e}
#diagram{position:relative;padding:4px 0 40px;min-width:900px;margin-right:max(36%,420px)}
.laneline{position:absolute;top:0;bottom:0;width:0;border-left:2px solid #e2e6ee}
.event{position:relative;height:30px;cursor:pointer}
.event:hover,.event:focus{background:#eef3fb;outline:none}
.event.selected{background:#dde8f8}
.event.hidden{display:none}
.time{position:absolute;left:8px;top:8px;width:74px;text-align:right;color:#7a8499;font-variant-numeric:tabular-nums}
.arrow{position:absolute;top:21px;height:0;border-top:2px solid #3a6fd8}
.arrow.right::after,.arrow.left::after{content:"";position:absolute;top:-6px;border:5px solid transparent}
.arrow.right::after{right:-2px;border-left:8px solid #3a6fd8}
.arrow.left::after{left:-2px;border-right:8px solid #3a6fd8}
.arrow.self{border:2px solid #3a6fd8;border-left:none;height:8px;top:13px;width:18px!important}
.label{position:absolute;top:3px;white-space:nowrap;color:#1d2330}
.trouble .arrow{border-color:#c9302c;border-style:dashed}
.trouble .arrow.right::after{border-left-color:#c9302c}
.trouble .arrow.left::after{border-right-color:#c9302c}
.trouble .label{color:#c9302c;font-weight:700}
#detail{position:fixed;top:0;right:0;bottom:0;width:max(36%,420px);overflow:auto;background:#fff;border-left:1px solid #d6dae2;padding:110px 14px 14px;box-sizing:border-box}
#detail h2{font-size:14px;margin:0 0 8px}
#detail h3{font-size:12px;margin:12px 0 4px;color:#505a6e;text-transform:uppercase}
#detail pre{margin:0;padding:8px;background:#f3f5f8;border-radius:4px;white-space:pre-wrap;word-break:break-all;font:12px/1.4 ui-monospace,monospace}
)";

constexpr char kScript[] = R"(
(function () {
  var details = JSON.parse(document.getElementById('events-data').textContent);
  var events = Array.prototype.slice.call(document.querySelectorAll('.event'));
  var filter = document.getElementById('filter');
  var lane = document.getElementById('lane');
  var count = document.getElementById('count');
  function hexLines(hex) {
    if (!hex) { return '(none)'; }
    var out = [];
    for (var at = 0; at < hex.length; at += 32) {
      var offset = ('00000' + (at / 2)).slice(-6);
      out.push(offset + '  ' + hex.slice(at, at + 32).replace(/(..)(?!$)/g, '$1 '));
    }
    return out.join('\n');
  }
  function show(element) {
    events.forEach(function (e) { e.classList.remove('selected'); });
    element.classList.add('selected');
    var detail = details[Number(element.getAttribute('data-index'))];
    document.getElementById('detail-summary').textContent = detail.summary;
    document.getElementById('detail-fields').textContent = JSON.stringify(detail.fields, null, 2);
    document.getElementById('detail-hex').textContent = hexLines(detail.hex);
  }
  function apply() {
    var words = filter.value.toLowerCase().split(/\s+/).filter(Boolean);
    var chosen = lane.value;
    var shown = 0;
    events.forEach(function (e) {
      var text = e.getAttribute('data-search').toLowerCase();
      var visible = (!chosen || e.getAttribute('data-from') === chosen ||
                     e.getAttribute('data-to') === chosen) &&
                    words.every(function (w) { return text.indexOf(w) >= 0; });
      e.classList.toggle('hidden', !visible);
      shown += visible ? 1 : 0;
    });
    count.textContent = shown + ' of ' + events.length + ' events';
  }
  events.forEach(function (e) {
    e.addEventListener('click', function () { show(e); });
    e.addEventListener('keydown', function (k) { if (k.key === 'Enter') { show(e); } });
  });
  filter.addEventListener('input', apply);
  lane.addEventListener('change', apply);
  apply();
})();
)";

}  // namespace

void WriteHtmlPage(const std::vector<Json>& lines, const std::string& title, std::ostream& out) {
    out << "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">"
        << "<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'; "
           "style-src 'unsafe-inline'; script-src 'unsafe-inline'; img-src data:\">"
        << "<link rel=\"icon\" href=\"data:,\"><title>" << Escape(title) << "</title><style>"
        << kStyle << "</style></head><body>\n<header><h1>" << Escape(title) << "</h1>"
        << "<input id=\"filter\" type=\"search\" placeholder=\"filter: type, name, text\" "
           "aria-label=\"filter\"><select id=\"lane\" aria-label=\"lane\">"
           "<option value=\"\">every lane</option>";
    for (std::size_t i = 0; i < kLanes.size(); ++i) {
        out << "<option value=\"" << kLanes[i] << "\">" << kLaneTitles[i] << "</option>";
    }
    out << "</select><span id=\"count\"></span><div id=\"lanes\">";
    for (std::size_t i = 0; i < kLanes.size(); ++i) {
        out << "<span style=\"left:" << kTimeWidth + kLaneWidth * static_cast<int>(i) << "px\">"
            << kLaneTitles[i] << "</span>";
    }
    out << "</div></header>\n<main id=\"diagram\">\n";
    for (std::size_t i = 0; i < kLanes.size(); ++i) {
        out << "<div class=\"laneline\" style=\"left:" << LaneCentre(static_cast<int>(i))
            << "px\"></div>";
    }
    out << "\n";
    Json details = Json::array();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        WriteArrow(lines[i], i, details, out);
    }
    out << "</main>\n<aside id=\"detail\"><h2 id=\"detail-summary\">Click an arrow to see its "
           "record</h2><h3>Fields</h3><pre id=\"detail-fields\"></pre><h3>Bytes</h3>"
           "<pre id=\"detail-hex\"></pre>"
           "</aside>\n<script type=\"application/json\" id=\"events-data\">"
        << ScriptJson(details) << "</script>\n<script>" << kScript << "</script>\n</body></html>\n";
}

}  // namespace kinetra_sim
