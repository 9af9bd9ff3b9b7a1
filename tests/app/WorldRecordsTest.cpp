// The records file: what is written reads back; a damaged line or file costs only itself.
#include <gtest/gtest.h>

#include <sstream>

#include "app/WorldRecords.h"
#include "support/TempDirectory.h"

TEST(WorldRecords, WrittenRecordsReadBackAndDamageCostsOnlyWhatItHolds) {
    TempDirectory folder;
    const PlayerRecords records{{"Meadows", "Tide Pools"}, {{"Meadows", 4800}, {"Tide Pools", 61}}};
    WritePlayerRecords(folder.Path("replays/records.txt"), records);
    std::ostringstream warnings;
    PlayerRecords read = ReadPlayerRecords(folder.Path("replays/records.txt"), warnings);
    EXPECT_EQ(std::pair(read.reached, read.bestSteps), std::pair(records.reached, records.bestSteps));
    EXPECT_EQ(warnings.str(), "");

    read = ParsePlayerRecords("reached Meadows\r\nbest x Reef\nbest 12\n\x01\xff junk\n\nbest 300 Tide Pools\nreached \n",
                              "records.txt", warnings);
    EXPECT_EQ(read.reached, std::set<std::string>{"Meadows"});
    EXPECT_EQ(read.bestSteps, (std::map<std::string, long>{{"Tide Pools", 300}}));
    EXPECT_EQ(warnings.str(), "records.txt:2: not a record, skipped\nrecords.txt:3: not a record, skipped\n"
                              "records.txt:4: not a record, skipped\nrecords.txt:7: not a record, skipped\n");

    warnings.str("");
    EXPECT_TRUE(ReadPlayerRecords(folder.Path("missing.txt"), warnings).reached.empty());
    EXPECT_EQ(warnings.str(), "");
    EXPECT_TRUE(ReadPlayerRecords(folder.Path("replays"), warnings).reached.empty());
    EXPECT_NE(warnings.str().find("not a file of records"), std::string::npos);
}
