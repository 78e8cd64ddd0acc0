// Feeds the discovery reader truncated and mutated replies. It must never crash,
// must leave the record alone when it refuses a datagram, and must agree with a
// slow reference reader that follows the reading steps literally, with positions
// counted from 1 and 0 meaning "not found".

#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "device/codec.h"
#include "tests/device/sample_replies.h"

namespace orvane {
namespace {

// First case-insensitive occurrence of `key` at or after 1-based `start`; 0 if none.
std::size_t InStr(std::size_t start, std::string_view s, std::string_view key) {
  for (std::size_t p = start; p >= 1 && p + key.size() - 1 <= s.size(); ++p) {
    bool same = true;
    for (std::size_t k = 0; k < key.size() && same; ++k) {
      same = std::toupper(static_cast<unsigned char>(s[p - 1 + k])) ==
             std::toupper(static_cast<unsigned char>(key[k]));
    }
    if (same) return p;
  }
  return 0;
}

std::string Mid(std::string_view s, std::size_t start, std::size_t length) {
  if (start > s.size()) return {};
  return std::string(s.substr(start - 1, length));
}

std::int32_t Figure(const std::string& value) {
  std::size_t digits = (!value.empty() && value[0] == '-') ? 1 : 0;
  if (digits == value.size() || value.size() > 11) return 0;
  for (std::size_t i = digits; i < value.size(); ++i) {
    if (!std::isdigit(static_cast<unsigned char>(value[i]))) return 0;
  }
  const long long number = std::stoll(value);
  return (number < INT32_MIN || number > INT32_MAX) ? 0 : static_cast<std::int32_t>(number);
}

std::optional<DeviceRecord> ReferenceRead(std::string_view s) {
  if (s.substr(0, 5) != "0C01R") return std::nullopt;
  DeviceRecord r;
  r.DeviceId = Mid(s, 6, 17);
  const std::size_t pIP = InStr(1, s, "IP='");
  if (pIP == 0) return std::nullopt;
  const std::size_t pNM = InStr(pIP, s, "NETMASK='");
  const std::size_t pGW = pNM ? InStr(pNM, s, "GATEWAY='") : 0;
  const std::size_t pHN = pGW ? InStr(pGW, s, "HOSTNAME='") : 0;
  const std::size_t pWG = pHN ? InStr(pHN, s, "WORKGROUP='") : 0;
  const std::size_t pHF = pWG ? InStr(pWG, s, "HOSTNAME_FULL='") : 0;
  if (pHF == 0) return std::nullopt;
  // Mid(s, p + key length, next key - p - key length - 2), as a signed length.
  const auto gap = [](std::size_t key, std::size_t next, long long dropped) {
    return static_cast<long long>(next) - static_cast<long long>(key) - dropped;
  };
  const long long lengths[] = {gap(pIP, pNM, 6), gap(pNM, pGW, 11), gap(pGW, pHN, 11),
                               gap(pHN, pWG, 12), gap(pWG, pHF, 13)};
  for (const long long length : lengths) {
    if (length < 0) return std::nullopt;
  }
  r.IpAddress = Mid(s, pIP + 4, lengths[0]);
  r.Netmask = Mid(s, pNM + 9, lengths[1]);
  r.Gateway = Mid(s, pGW + 9, lengths[2]);
  r.HostName = Mid(s, pHN + 10, lengths[3]);
  r.Workgroup = Mid(s, pWG + 11, lengths[4]);
  const std::size_t qHF = InStr(pHF + 15, s, "'");
  if (qHF == 0) return std::nullopt;
  r.HostNameFull = Mid(s, pHF + 15, qHF - pHF - 15);

  // Disk fields: a missing one, or one without its quote, keeps the search where it was.
  std::size_t from = qHF;
  std::string values[4];
  const std::string_view keys[4] = {"HDMODEL='", "HDCAPACITY='", "HDTOTAL='", "HDAVAIL='"};
  for (int i = 0; i < 4; ++i) {
    const std::size_t p = InStr(from, s, keys[i]);
    const std::size_t q = p ? InStr(p + keys[i].size(), s, "'") : 0;
    if (p == 0 || q == 0) continue;
    values[i] = Mid(s, p + keys[i].size(), q - p - keys[i].size());
    from = q;
  }
  r.DiskModel = values[0];
  if (r.DiskModel.empty()) {
    r.DiskModel = "No HD Installed!";
  } else {
    r.DiskCapacity = Figure(values[1]);
    r.DiskTotal = Figure(values[2]);
    r.DiskAvailable = Figure(values[3]);
  }
  return r;
}

struct Tally {
  int accepted = 0;
  int refused = 0;
};

void CheckOne(const std::string& datagram, Tally& tally) {
  const DeviceRecord sentinel{"sentinel", "a", "b", "c", "d", "e", "f", "g", 1, 2, 3};
  DeviceRecord record = sentinel;
  const bool accepted = ParseDiscoveryReply(datagram, record);
  const std::optional<DeviceRecord> reference = ReferenceRead(datagram);
  ASSERT_EQ(accepted, reference.has_value()) << datagram;
  if (!accepted) {
    ++tally.refused;
    ASSERT_EQ(record, sentinel) << datagram;
    return;
  }
  ++tally.accepted;
  ASSERT_EQ(record, *reference) << datagram;
  // Whatever was read comes from the datagram itself.
  ASSERT_EQ(record.DeviceId, datagram.substr(5, 17));
  for (const std::string* text : {&record.IpAddress, &record.Netmask, &record.Gateway,
                                  &record.HostName, &record.Workgroup, &record.HostNameFull}) {
    ASSERT_NE(datagram.find(*text), std::string::npos) << datagram;
  }
  ASSERT_EQ(record.HostNameFull.find('\''), std::string::npos);
  if (record.DiskModel == kNoDiskModel) {
    ASSERT_EQ(record.DiskCapacity | record.DiskTotal | record.DiskAvailable, 0);
  } else {
    ASSERT_NE(datagram.find(record.DiskModel), std::string::npos);
    ASSERT_EQ(record.DiskModel.find('\''), std::string::npos);
  }
}

std::vector<std::string> Seeds() {
  return {std::string(test::kWorkedReply), std::string(test::kWorkedNames),
          "0C01Rab:cd:ef:01:23:45;ip='1';netmask='2';gateway='3';hostname='4';workgroup='5';"
          "hostname_full='6';hdmodel='';hdcapacity='7';hdtotal='8';hdavail='9'"};
}

TEST(DeviceCodecRobustness, EveryPrefixAndSingleByteMutation) {
  const char replacements[] = {'\'', ';', '=', 'x', '\0', '\xFF', '0', '-'};
  Tally tally;
  for (const std::string& seed : Seeds()) {
    for (std::size_t length = 0; length <= seed.size(); ++length) {
      CheckOne(seed.substr(0, length), tally);
    }
    for (std::size_t i = 0; i < seed.size(); ++i) {
      std::string mutated = seed;
      for (const char c : replacements) {
        mutated[i] = c;
        CheckOne(mutated, tally);
      }
      mutated[i] = static_cast<char>(std::islower(static_cast<unsigned char>(seed[i]))
                                         ? std::toupper(static_cast<unsigned char>(seed[i]))
                                         : std::tolower(static_cast<unsigned char>(seed[i])));
      CheckOne(mutated, tally);
      CheckOne(seed.substr(0, i) + seed.substr(i + 1), tally);  // byte dropped
      CheckOne(seed.substr(0, i + 1) + seed.substr(i), tally);  // byte doubled
      if (HasFatalFailure()) return;
    }
  }
  // Both outcomes must have been exercised, or the mutations test nothing.
  EXPECT_GT(tally.accepted, 1000);
  EXPECT_GT(tally.refused, 1000);
}

TEST(DeviceCodecRobustness, RandomMultiByteMutations) {
  std::mt19937 engine(20040429);
  const std::string alphabet = "'=;_ABCDEFGHIKLMNOPRSTUVWY0123456789\xFF\x80";
  Tally tally;
  for (const std::string& seed : Seeds()) {
    for (int round = 0; round < 5000; ++round) {
      std::string mutated = seed;
      const int edits = 1 + static_cast<int>(engine() % 4);
      for (int e = 0; e < edits && !mutated.empty(); ++e) {
        const std::size_t at = engine() % mutated.size();
        switch (engine() % 3) {
          case 0:
            mutated[at] = alphabet[engine() % alphabet.size()];
            break;
          case 1:
            mutated.erase(at, 1 + engine() % 12);
            break;
          default:
            mutated.insert(at, mutated.substr(engine() % mutated.size(), 1 + engine() % 16));
        }
      }
      CheckOne(mutated, tally);
      if (HasFatalFailure()) return;
    }
  }
  EXPECT_GT(tally.accepted, 100);
  EXPECT_GT(tally.refused, 100);
}

}  // namespace
}  // namespace orvane
