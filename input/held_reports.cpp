#include "input/held_reports.h"

void HeldReports::push(const HeldReport& report) {
    if (count == CAPACITY) {
        first = (first + 1) % CAPACITY;
        --count;
    }
    ring[(first + count) % CAPACITY] = report;
    ++count;
}
