#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netdb.h>
#include <netinet/in.h>
#include <unistd.h>

#include <algorithm>

#include "platform/posix/env_posix.h"

namespace vlau {
namespace {

bool IsLoopback(const in_addr& address) { return (ntohl(address.s_addr) >> 24) == 127; }

// Adds the address unless it is already listed.
void AddAddress(const in_addr& address, std::vector<std::string>* addresses) {
  char text[INET_ADDRSTRLEN] = {};
  if (inet_ntop(AF_INET, &address, text, sizeof(text)) == nullptr) return;
  if (std::find(addresses->begin(), addresses->end(), text) != addresses->end()) return;
  addresses->emplace_back(text);
}

void AddInterfaceAddresses(std::vector<std::string>* addresses) {
  ifaddrs* interfaces = nullptr;
  if (getifaddrs(&interfaces) != 0) return;
  for (const ifaddrs* entry = interfaces; entry != nullptr; entry = entry->ifa_next) {
    if (entry->ifa_addr == nullptr || entry->ifa_addr->sa_family != AF_INET) continue;
    if ((entry->ifa_flags & IFF_UP) == 0) continue;
    const in_addr& address = reinterpret_cast<const sockaddr_in*>(entry->ifa_addr)->sin_addr;
    if (!IsLoopback(address)) AddAddress(address, addresses);
  }
  freeifaddrs(interfaces);
}

void AddHostNameAddresses(std::vector<std::string>* addresses) {
  char host[256] = {};
  if (gethostname(host, sizeof(host) - 1) != 0) return;
  addrinfo hints = {};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;  // one entry per address, not one per socket type
  addrinfo* results = nullptr;
  if (getaddrinfo(host, nullptr, &hints, &results) != 0) return;
  for (const addrinfo* entry = results; entry != nullptr; entry = entry->ai_next) {
    if (entry->ai_family != AF_INET || entry->ai_addr == nullptr) continue;
    AddAddress(reinterpret_cast<const sockaddr_in*>(entry->ai_addr)->sin_addr, addresses);
  }
  freeaddrinfo(results);
}

}  // namespace

// The addresses of the interfaces that are up, without the loopback range;
// on a machine without any, the host name's addresses as the resolver gives
// them (on Debian that is often 127.0.1.1, which still lets a range match).
std::vector<std::string> PosixEnv::LocalIPv4Addresses() {
  std::vector<std::string> addresses;
  AddInterfaceAddresses(&addresses);
  if (addresses.empty()) AddHostNameAddresses(&addresses);
  return addresses;
}

}  // namespace vlau
