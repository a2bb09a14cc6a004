// A STUN server for the home-network tests: it answers every binding
// request with the address and port it came from, from the port it was
// sent to. A home router's UPnP daemon whose outside address lies in a
// test range asks such a server whether it really reaches the outside
// unfiltered before it agrees to forward ports; this one says it does.
//   quadrill-stun-responder ADDRESS PORT
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const std::uint32_t kMagicCookie = 0x2112A442u;

void put16(unsigned char* at, unsigned value) {
    at[0] = static_cast<unsigned char>(value >> 8);
    at[1] = static_cast<unsigned char>(value);
}

// A binding success response naming `from`, both in the plain and in the
// XOR'ed attribute, so that old and new clients read it.
std::size_t answer(const unsigned char* request, const sockaddr_in& from, unsigned char* out) {
    std::memcpy(out, request, 20);
    put16(out, 0x0101);
    const std::uint32_t address = ntohl(from.sin_addr.s_addr);
    const unsigned port = ntohs(from.sin_port);
    unsigned char* attribute = out + 20;
    put16(attribute, 0x0001);  // MAPPED-ADDRESS
    put16(attribute + 2, 8);
    attribute[4] = 0;
    attribute[5] = 1;  // IPv4
    put16(attribute + 6, port);
    std::memcpy(attribute + 8, &from.sin_addr.s_addr, 4);
    attribute += 12;
    put16(attribute, 0x0020);  // XOR-MAPPED-ADDRESS
    put16(attribute + 2, 8);
    attribute[4] = 0;
    attribute[5] = 1;
    put16(attribute + 6, port ^ (kMagicCookie >> 16));
    const std::uint32_t mixed = htonl(address ^ kMagicCookie);
    std::memcpy(attribute + 8, &mixed, 4);
    put16(out + 2, 24);
    return 44;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s ADDRESS PORT\n", argv[0]);
        return 2;
    }
    const int fd = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in self{};
    self.sin_family = AF_INET;
    self.sin_port = htons(static_cast<std::uint16_t>(std::atoi(argv[2])));
    if (fd < 0 || inet_pton(AF_INET, argv[1], &self.sin_addr) != 1 ||
        bind(fd, reinterpret_cast<sockaddr*>(&self), sizeof self) != 0) {
        std::perror("stun responder");
        return 1;
    }
    unsigned char request[576];
    unsigned char response[64];
    for (;;) {
        sockaddr_in from{};
        socklen_t fromSize = sizeof from;
        const ssize_t got = recvfrom(fd, request, sizeof request, 0, reinterpret_cast<sockaddr*>(&from), &fromSize);
        if (got < 20 || request[0] != 0 || request[1] != 1) continue;
        const std::size_t size = answer(request, from, response);
        sendto(fd, response, size, 0, reinterpret_cast<sockaddr*>(&from), fromSize);
    }
}
