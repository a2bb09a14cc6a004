#pragma once
#include <string>
#include <vector>

// The colours that other machines of an online room play, as the menu shows
// them: their Player boxes cannot be ticked here, and a mark beside each
// says whose it is. A few lines tell where the room stands.
struct LobbySeats {
    bool taken[4] = {false, false, false, false};
    std::string mark[4];
    std::vector<std::string> status;
};
