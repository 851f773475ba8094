// SPDX-License-Identifier: MIT
#pragma once

#include <gtest/gtest.h>
#include <string>

// The codes of the worked examples, and what their decoder address carries.
struct AddressCase {
    const char* name;
    std::string code;
    std::string query; // the value of the name parameter, as the encoder writes it
};

inline void PrintTo(const AddressCase& c, std::ostream* os) {
    *os << c.code;
}

inline const AddressCase kAddressExamples[] = {
    AddressCase{"Header", "GlomieCode(1.12.05) SM:5", "GlomieCode(1.12.05)%20SM:5"},
    AddressCase{"Defaults", "GlomieCode(1.12.05) SM:5m-", "GlomieCode(1.12.05)%20SM:5m-"},
    AddressCase{"Secondary", "GlomieCode(1.12.05) SM:5-[7+]m+", "GlomieCode(1.12.05)%20SM:5-[7%2B]m%2B"},
    AddressCase{"Maximum", "GlomieCode(1.12.05) SM:![0]m-", "GlomieCode(1.12.05)%20SM:![0]m-"},
    AddressCase{"NinePlus", "GlomieCode(1.12.05) SM:9+m+", "GlomieCode(1.12.05)%20SM:9%2Bm%2B"},
    AddressCase{"HandOffExample", "GlomieCode(1.12.05) SM:5 F:sMo++",
                "GlomieCode(1.12.05)%20SM:5%20F:sMo%2B%2B"},
    AddressCase{"Joined", "GlomieCode(1.12.05) SM:5 F:sMo++ D:vBe- X:**",
                "GlomieCode(1.12.05)%20SM:5%20F:sMo%2B%2B%20D:vBe-%20X:**"},
    AddressCase{
        "FavouritesAndDislikes", "GlomieCode(1.12.05) SM:5 F:sMo>+++Me+[++]:aLu++:pS<+[+] D:vBe>---",
        "GlomieCode(1.12.05)%20SM:5%20F:sMo>%2B%2B%2BMe%2B[%2B%2B]:aLu%2B%2B:pS<%2B[%2B]%20D:vBe>---"},
    AddressCase{"Experience", "GlomieCode(1.12.05) SM:5m- X:***[*]:aClr++|ClS[SS]s++++:m18s++[+]",
                "GlomieCode(1.12.05)%20SM:5m-%20X:***[*]:aClr%2B%2B|ClS[SS]s%2B%2B%2B%2B:m18s%2B%2B[%2B]"},
    AddressCase{"Opinions", "GlomieCode(1.12.05) SM:5m- O:d--:!s++:?o:a?:h-[-]:x+",
                "GlomieCode(1.12.05)%20SM:5m-%20O:d--:!s%2B%2B:?o:a?:h-[-]:x%2B"},
    AddressCase{"Personal", "GlomieCode(1.12.05) SM:5m- P:a23:eBg:hBr+:x:r+|+",
                "GlomieCode(1.12.05)%20SM:5m-%20P:a23:eBg:hBr%2B:x:r%2B|%2B"},
    AddressCase{"Purity", "GlomieCode(1.12.05) SM:5m- P:x75%:r|", "GlomieCode(1.12.05)%20SM:5m-%20P:x75%:r|"},
    AddressCase{"NoBlankNorPlus", "SM:5m-[!]:x75%", "SM:5m-[!]:x75%"},
    AddressCase{"Empty", "", ""}};
