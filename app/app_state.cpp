#include "app/app_state.h"

AppState& app() {
    static AppState state;
    return state;
}
