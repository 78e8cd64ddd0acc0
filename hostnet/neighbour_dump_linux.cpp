#include <linux/neighbour.h>
#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <sys/socket.h>

#include <algorithm>
#include <cstring>

#include "hostnet/neighbour_dump.h"

namespace orvane {

DumpStep ReadNeighbourDatagram(const void* data, std::size_t size, std::uint32_t senderPort,
                               std::uint32_t sequence, std::uint32_t target,
                               std::optional<NeighbourEntry>& found) {
  // Another process may send to our port; it is never the table.
  if (senderPort != 0) return DumpStep::More;
  const auto* bytes = static_cast<const unsigned char*>(data);
  std::size_t at = 0;
  while (size - at >= sizeof(nlmsghdr)) {
    nlmsghdr header;
    std::memcpy(&header, bytes + at, sizeof header);
    if (header.nlmsg_len < sizeof header || header.nlmsg_len > size - at) return DumpStep::Unknown;
    const unsigned char* payload = bytes + at + NLMSG_HDRLEN;
    const std::size_t payloadSize =
        header.nlmsg_len - std::min<std::size_t>(header.nlmsg_len, NLMSG_HDRLEN);
    at += std::min<std::size_t>(NLMSG_ALIGN(header.nlmsg_len), size - at);
    if (header.nlmsg_seq != sequence) continue;  // a stale answer to an earlier dump
    if ((header.nlmsg_flags & NLM_F_DUMP_INTR) != 0) return DumpStep::Unknown;
    if (header.nlmsg_type == NLMSG_DONE) return DumpStep::Done;
    if (header.nlmsg_type == NLMSG_ERROR) return DumpStep::Unknown;
    if (header.nlmsg_type != RTM_NEWNEIGH || payloadSize < sizeof(ndmsg)) continue;
    ndmsg entry;
    std::memcpy(&entry, payload, sizeof entry);
    if (entry.ndm_family != AF_INET) continue;
    bool matches = false;
    NeighbourEntry read{entry.ndm_state, false, std::nullopt};
    std::size_t attribute = NLMSG_ALIGN(sizeof entry);
    while (payloadSize > attribute && payloadSize - attribute >= sizeof(rtattr)) {
      rtattr head;
      std::memcpy(&head, payload + attribute, sizeof head);
      if (head.rta_len < sizeof head || head.rta_len > payloadSize - attribute) break;
      const unsigned char* value = payload + attribute + RTA_LENGTH(0);
      const std::size_t valueSize = head.rta_len - RTA_LENGTH(0);
      if (head.rta_type == NDA_DST && valueSize == sizeof(std::uint32_t)) {
        std::uint32_t destination;
        std::memcpy(&destination, value, sizeof destination);
        matches = destination == target;
      } else if (head.rta_type == NDA_LLADDR && valueSize > 0) {
        read.hasLinkAddress = true;
        if (valueSize == sizeof(HardwareAddress)) {
          read.hardware.emplace();
          std::memcpy(read.hardware->data(), value, read.hardware->size());
        }
      }
      attribute += RTA_ALIGN(head.rta_len);
    }
    if (matches) found = read;
  }
  return DumpStep::More;
}

}  // namespace orvane
