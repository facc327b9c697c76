#include "SvgPicture.h"

#include <cstdint>
#include <cstdio>
#include <vector>

namespace zozuz {

namespace {

struct Run {
    int x;
    int y;
    int width;
    int height;
    std::uint32_t colour;
};

std::vector<Run> runsOfRow(const Image& image, int y) {
    std::vector<Run> runs;
    const std::uint32_t* row = image.row(y);
    for (int x = 0; x < image.width();) {
        int end = x + 1;
        while (end < image.width() && row[end] == row[x]) ++end;
        runs.push_back(Run{x, y, end - x, 1, row[x] & 0xFFFFFF});
        x = end;
    }
    return runs;
}

}  // namespace

std::string SvgPicture::fromImage(const Image& image) {
    // Runs still open are those that ended on the row above; each is extended by an identical run
    // on the current row or closed. Both lists are ordered by x, so one merge pass per row suffices.
    std::vector<Run> closed;
    std::vector<Run> open;
    for (int y = 0; y < image.height(); ++y) {
        std::vector<Run> next;
        std::size_t above = 0;
        for (Run run : runsOfRow(image, y)) {
            while (above < open.size() && open[above].x < run.x) closed.push_back(open[above++]);
            if (above < open.size() && open[above].x == run.x && open[above].width == run.width &&
                open[above].colour == run.colour) {
                run.y = open[above].y;
                run.height = open[above].height + 1;
                ++above;
            }
            next.push_back(run);
        }
        while (above < open.size()) closed.push_back(open[above++]);
        open = std::move(next);
    }
    closed.insert(closed.end(), open.begin(), open.end());

    char line[160];
    std::snprintf(line, sizeof line,
                  "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%d\" height=\"%d\" viewBox=\"0 0 %d %d\" "
                  "shape-rendering=\"crispEdges\">\n",
                  image.width(), image.height(), image.width(), image.height());
    std::string svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    svg += line;
    for (const Run& run : closed) {
        std::snprintf(line, sizeof line, "  <rect x=\"%d\" y=\"%d\" width=\"%d\" height=\"%d\" fill=\"#%06X\"/>\n", run.x,
                      run.y, run.width, run.height, static_cast<unsigned>(run.colour));
        svg += line;
    }
    svg += "</svg>\n";
    return svg;
}

}  // namespace zozuz
