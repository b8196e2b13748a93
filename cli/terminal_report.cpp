#include "cli/terminal_report.h"

#include <algorithm>
#include <unistd.h>

namespace cli {

ProgressBar::ProgressBar(std::FILE *stream, bool wanted)
    : stream_(stream), enabled_(wanted && isatty(fileno(stream))) {}

void ProgressBar::Show(int percent, std::string_view note) {
  if (!enabled_)
    return;
  // A note takes room from the bar, so that the line stays within a terminal's 80 columns.
  const int width = note.empty() ? 40 : 20;
  const int filled = std::clamp(percent, 0, 100) * width / 100;
  std::fprintf(stream_, "\r[%s%s] %3d%% %.*s\033[K", std::string(filled, '#').c_str(),
               std::string(width - filled, '.').c_str(), percent, static_cast<int>(note.size()),
               note.data());
  std::fflush(stream_);
  drawn_ = true;
}

void ProgressBar::Erase() {
  if (!drawn_)
    return;
  std::fputs("\r\033[K", stream_);
  std::fflush(stream_);
  drawn_ = false;
}

std::string Summary(std::size_t solutions, double seconds, std::uint64_t nodes,
                    const engine::TableStatistics &table) {
  const double perSecond = seconds > 0 ? static_cast<double>(nodes) / seconds : 0;
  char text[200];
  int length = std::snprintf(text, sizeof text, "%zu solution%s, %.3f s, %llu nodes, %.0f nodes/s",
                             solutions, solutions == 1 ? "" : "s", seconds,
                             static_cast<unsigned long long>(nodes), perSecond);
  if (table.probes > 0 && length > 0 && length < static_cast<int>(sizeof text)) {
    std::snprintf(text + length, sizeof text - static_cast<std::size_t>(length),
                  ", table hits %.1f%%", TableHitPercent(table));
  }
  return text;
}

double TableHitPercent(const engine::TableStatistics &table) {
  return table.probes > 0
             ? 100.0 * static_cast<double>(table.hits) / static_cast<double>(table.probes)
             : 0.0;
}

} // namespace cli
