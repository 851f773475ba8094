// SPDX-License-Identifier: MIT
#include "vocabulary/Tables.h"

#include <iterator>

// Each table is its rows followed by the table object bound to them, in the order the tables are
// listed in Tables.h. Descriptions are shown exactly as written, double spaces and all.
namespace {
const CodeEntry TermFeelingTableRows[] = {
    CodeEntry("\n"),
    CodeEntry("m-\nIf someone calls you a glomie, you go ballistic"),
    CodeEntry("m+\nYou deliberately call yourself a glomie"),
};

const CodeEntry SenshiTableRows[] = {
    CodeEntry("\n"),
    CodeEntry("Mo\nSailor Moon/Tsukino Usagi/Serena"),
    CodeEntry("Tx\nTuxedo Kamen/Chiba Mamoru/Darien"),
    CodeEntry("Ch\nSailor Chibimoon/Chibiusa/Reenie"),
    CodeEntry("Me\nSailor Mercury/Mizuno Ami/Amy"),
    CodeEntry("Ma\nSailor Mars/Hino Rei/Raye Hino"),
    CodeEntry("Ju\nSailor Jupiter/Kino Makoto/Lita"),
    CodeEntry("Ve\nSailor Venus/Aino Minako/Mina"),
    CodeEntry("In\nall the inner senshi"),
    CodeEntry("Pl\nSailor Pluto/Meiou Setsuna/Celia"),
    CodeEntry("Ur\nSailor Uranus/Ten'ou Haruka/Corinn"),
    CodeEntry("Ne\nSailor Neptune/Kaioh Michiru/Nerissa"),
    CodeEntry("Sa\nSailor Saturn/Tomoe Hotaru/-"),
    CodeEntry("Ou\nall the outer senshi"),
    CodeEntry("Se\nSailor Starfighter/Kou Seyia"),
    CodeEntry("Ta\nSailor Starmaker/Kou Taiki"),
    CodeEntry("Ya\nSailor Starhealer/Kou Yaten"),
    CodeEntry("St\nall the starlight senshi"),
    CodeEntry("Cc\nChibiChibi, not Mirella Vantoni -.^"),
};

const CodeEntry VillianTableRows[] = {
    CodeEntry("\n"),
    CodeEntry("Ai\nAil/Alan"),
    CodeEntry("Ja\nJadeite/Jedite"),
    CodeEntry("An\nAnn/Anne"),
    CodeEntry("Ne\nNephrite/Nephlyte"),
    CodeEntry("Co\nCooan/Catzy"),
    CodeEntry("Zo\nZoisite/Zoycite"),
    CodeEntry("Br\nBeruche/Birdie"),
    CodeEntry("Ku\nKunzite/Malachite"),
    CodeEntry("Ca\nCalaveras/Avery"),
    CodeEntry("4G\nDark Kingdom/Negaverse Generals"),
    CodeEntry("Pe\nPetz/Prisma"),
    CodeEntry("En\nDark Endymion/Evil Prince Darien"),
    CodeEntry("4S\nAyakashi/? Sisters"),
    CodeEntry("Be\nQueen Beryl"),
    CodeEntry("Ru\nRubeus/Rubius[sp?]"),
    CodeEntry("Mt\nQueen Metallia/Negaforce"),
    CodeEntry("Es\nEsmeraude/Emerald"),
    CodeEntry("Sf\nSaffiru/Safir"),
    CodeEntry("De\nDemando/Dimando"),
    CodeEntry("To\nProfessor Tomoe"),
    CodeEntry("BM\nBlack Moon Family"),
    CodeEntry("Ka\nKaolinite"),
    CodeEntry("Bl\nBlack Lady/Wicked Lady"),
    CodeEntry("Eu\nEudial"),
    CodeEntry("Wi\nWiseman/?"),
    CodeEntry("Mi\nMimete"),
    CodeEntry("Te\nTellu"),
    CodeEntry("Fr\nFiore"),
    CodeEntry("Vi\nVilluy"),
    CodeEntry("Ki\nKisenian[sp?]"),
    CodeEntry("Cy\nCyprine"),
    CodeEntry("Pu\nPuchirol"),
    CodeEntry("W5\nWitches 5"),
    CodeEntry("Zi\nMaster Zirconia"),
    CodeEntry("M9\nMistress 9"),
    CodeEntry("Ti\nTiger's Eye"),
    CodeEntry("90\nPharaoh 90"),
    CodeEntry("Fi\nFish Eye"),
    CodeEntry("Ha\nHawk's Eye"),
    CodeEntry("Sn\nSnow Princess Kaguya"),
    CodeEntry("A3\nAmazon Trio"),
    CodeEntry("Cc\nCereCere"),
    CodeEntry("Pp\nPallaPalla"),
    CodeEntry("Ir\nIron Mouse"),
    CodeEntry("Jj\nJunJun"),
    CodeEntry("Al\nAluminum Siren"),
    CodeEntry("Vv\nVesVes"),
    CodeEntry("Le\nLead Crow"),
    CodeEntry("A4\nAmazoness Quartet"),
    CodeEntry("Tn\nTin Nyanko"),
    CodeEntry("Nh\nNeherenia"),
    CodeEntry("Ga\nGalaxia"),
    CodeEntry("Zz\nOther villain, not on the list(one of the MotDs? ^^;)"),
};

const CodeEntry AssistTableRows[] = {
    CodeEntry("\n"),
    CodeEntry("Lu\nLuna"),
    CodeEntry("Na\nOsaka Naru/Molly"),
    CodeEntry("Ar\nArtemis"),
    CodeEntry("Um\nGurio Umino/Melvin"),
    CodeEntry("Di\nDiana"),
    CodeEntry("Mt\nFuruhata Motoki/Andrew"),
    CodeEntry("Un\nFuruhata Unazuki/Lizzie"),
    CodeEntry("Qs\nQueen Serenity"),
    CodeEntry("Ry\nUrawa Ryo/Greg"),
    CodeEntry("Ka\nPrincess Kakyuu"),
    CodeEntry("Yu\nYuuichirou/Chad"),
    CodeEntry("Sh\nTsukino Shingo/Sammy"),
    CodeEntry("Pe\nPegasus"),
    CodeEntry("Ik\nTsukino Ikuko/Serena's mother"),
    CodeEntry("He\nHelios"),
    CodeEntry("Ke\nTsukino Kenji/Serena's father"),
    CodeEntry("Mm\nMomo-chan/Melissa"),
    CodeEntry("Ky\nKyuusuke[sp?]"),
    CodeEntry("Ha\nSakurada Haruna/Ms.Haruna"),
    CodeEntry("Pr\nPeruru[sp?, again.. ^^;]"),
    CodeEntry("Gr\nRei/Raye's grandpa"),
    CodeEntry("Zz\nother supporting character"),
    CodeEntry("Ch\ngrown-up Chibiusa[SuperS #16o?]"),
};

const CodeEntry PartTableRows[] = {
    CodeEntry("\n"),
    CodeEntry("Cl\nSailormoon classic"),
    CodeEntry("R\nWhole R series"),
    CodeEntry("R1\nAil/Ann arc of SMR"),
    CodeEntry("R2\nBlack Moon arc of SMR"),
    CodeEntry("S\nSailormoon S"),
    CodeEntry("SS\nSailormoon SuperS"),
    CodeEntry("*\nSailormoon Stars"),
    CodeEntry("Nh\nNeherenia arc of SM*"),
    CodeEntry("Gx\nGalaxia/Starlights arc of SM*"),
};

const CodeEntry TrendTableRows[] = {
    CodeEntry("<\nDecreasing"),
    CodeEntry("\nStable"),
    CodeEntry(">\nIncreasing"),
};

const CodeEntry EyeColorTableRows[] = {
    CodeEntry("\n"),        CodeEntry("Gr\nGrey"),  CodeEntry("B\nBlue"),  CodeEntry("G\nGreen"),
    CodeEntry("Br\nBrown"), CodeEntry("Bk\nBlack"), CodeEntry("Pi\nPink"),
};

const CodeEntry HairColorTableRows[] = {
    CodeEntry("Bl\nBlond"),  CodeEntry("Br\nBrown"),  CodeEntry("Bk\nBlack"), CodeEntry("R\nRed"),
    CodeEntry("Gr\nGrey"),   CodeEntry("B\nBlue"),    CodeEntry("G\nGreen"),  CodeEntry("Pi\nPink"),
    CodeEntry("Pu\nPurple"), CodeEntry("Or\nOrange"),
};

const CodeEntry ColorAdjTableRows[] = {
    CodeEntry("\n"),
    CodeEntry("D\nDark"),
    CodeEntry("L\nLight"),
};

const CodeEntry GroupTableRows[] = {
    CodeEntry("\n"),
    CodeEntry("Wh\nWhite.[Irish, Italian, Spanish, French, Russian, etc..]"),
    CodeEntry("Hi\nHispanic.[Mexican, Puerto Rican, Cuban, Argentine, etc..]"),
    CodeEntry("Bl\nBlack.[African, African-American.]"),
    CodeEntry("As\nAsian.[Chinese, Korean, Laotian, Japanese, etc..]"),
    CodeEntry("ME\nMiddle-Eastern descent.[Arab, Persian, Turk, etc..]"),
    CodeEntry("NA\nNative American.[Inuit, Cherokee, Apache, etc..]"),
    CodeEntry("Po\nPolynesian or from the South Pacific.[Hawaiian, etc..]"),
    CodeEntry("Je\nJewish. (Not just a religion, but an entire culture.)"),
    CodeEntry("In\nIndian. Ancestry from India, Bangledesh, or that area."),
};

const CodeEntry BloodTypeTableRows[] = {
    CodeEntry("A\nA : nervous, introverted, honest, loyal"),
    CodeEntry("B\nB : outgoing, optimistic, adventurous"),
    CodeEntry("AB\nAB : proud, diplomatic, discriminating"),
    CodeEntry("O\nO : workaholic, insecure, emotional"),
};

const CodeEntry BloodTypeSignTableRows[] = {
    CodeEntry("\n"),
    CodeEntry("-\nNegative"),
    CodeEntry("+\nPositive"),
};

const CodeEntry SignTableRows[] = {
    CodeEntry("Ar\nAries [march 21 -- april 19]"),
    CodeEntry("Ta\nTaurus [april 20 -- may 20]"),
    CodeEntry("Gm\nGemini [may 21 -- june 21]"),
    CodeEntry("Cn\nCancer [june 22 -- july 22]"),
    CodeEntry("Le\nLeo [july 23 -- august 22]"),
    CodeEntry("Vr\nVirgo [august 23 -- september 22]"),
    CodeEntry("Li\nLibra [september 23 -- october 23]"),
    CodeEntry("Sc\nScorpio [october 24 -- november 21]"),
    CodeEntry("Sg\nSagittarius [november 22 -- december 21]"),
    CodeEntry("Cp\nCapricorn [december 22 -- january 19]"),
    CodeEntry("Aq\nAquarius [january 20 -- february 18]"),
    CodeEntry("Ps\nPisces [february 19 -- march 20]"),
};

const CodeEntry PreferenceTableRows[] = {
    CodeEntry("-\n(-) Promiscuous"),
    CodeEntry("\n( ) Negotiable"),
    CodeEntry("+\n(+) Monogamous"),
};

const CodeEntry StatusTableRows[] = {
    CodeEntry("-\n(-) Unavailable"),
    CodeEntry("\n( ) Negotiable"),
    CodeEntry("+\n(+) Available"),
};

const CodeEntry GenderTableRows[] = {
    CodeEntry("x\nYou are a female"),
    CodeEntry("y\nYou are a male"),
    CodeEntry("z\nEither you don't want to disclose your gender or you're Starlights' relative"),
};

const CodeEntry KinkTableRows[] = {
    CodeEntry("\n"),
    CodeEntry("H\nMember of the Hentai Military Forces and Hentai Wars veteran"),
    CodeEntry("P\nMember of the Puritan Military Forces and Hentai Wars veteran"),
    CodeEntry("A\nOne of the Moderate Aliens"),
};

const CodeEntry ObsessionTableRows[] = {
    CodeEntry("0\nYou watched Sailor Moon once, when your remote control got broken."),
    CodeEntry("1\nYou watch Sailor Moon only because you like girls wearing short skirts."),
    CodeEntry("2\nYou think it's just another TV show."),
    // clang-format off
    CodeEntry("3\nYou try to fool yourself it's just another TV show for you, but it's rather hard considering you get up early everyday to watch it, and you get really depressed when you miss an episode."),
    CodeEntry("4\nYou think it's pretty cool TV show.  In fact, you'd found it so interesting you searched the WWW for Sailor Moon related pages and subscribed to a SM mailing list to find out more about it.  You know the NA dub is actually a dub, not the original version, and you know answers to some of the Frequently Asked Questions."),
    CodeEntry("5\nYou think it's a damn fine TV show, one of the only things good on television any more.  You've subscribed to one or more SM mailing lists, and you occasionally post there.  You have your own Sailor Moon related WWW page.  You've bought some SM merchandise.  You considered dressing like one of the SM characters on the Halloween."),
    CodeEntry("6\nYou actually did dress like one of the SM characters during the last Halloween.  Sailor Moon is the only thing you watch on TV.  You've taped all the episodes, and purchased some fansubs to see more of your favorite show.  You're a regular poster to SM mailing lists.  You write SM fanfics.  You have SM related dreams.  Your friends refer to you as \"that Sailor Moon freak\"."),
    CodeEntry("7\nYou have no friends anymore, except for the ones you turned into glomies like you.  You have dreams about your favorite SM character. You go to anime conventions and try to pick up girls dressed in sailor fuku.  Your room is filled with Sailor Moon merchandise.  You insist your girlfriend/wife shall dye her hair green and start play violin."),
    CodeEntry("8\nYour room is so full of the SM merchandise you had to move to the basement.  You have all episode synopses memorized.  You go to anime conventions dressed in sailor fuku(and you're 2oo pound hairy male..) You write SM lemons and don't even try to disguise your character written in them.  Your pregnant wife/mother/SO goes into labor and you stay home to watch new Sailor Moon episodes you've just gotten from your friend."),
    CodeEntry("9\n_You_ go into labor and you decide to stay home, because you want to once again watch your favorite episode.  Sailor Moon is your religion. You can quote entire original episodes verbatim, and you don't even know Japanese.  You go to work/school dressed like your favorite SM character.  You have done every single thing listed on Tarvell's \"YKYWTMSMW..\" pages, and some things not listed.. including calling out the name of your favorite senshi while making love to your better half."),
    CodeEntry("!\nYou actually believe you _are_ Usagi/Serena.[or some other Sailormoon character]  You're Sailormoon's alter ego, her second reincarnation, her in a nutshell -- you find that you talk like her, act like her, feel like her.. think like her, love like her, dream like her, eat like her, and..well..underachieve like her, too.. ^^;;  You're her twin, her clone, her whatever, you _are_ _her_, dammit! ^^;;;;;"),
    // clang-format on
};
} // namespace

const CodeTable TermFeelingTable(TermFeelingTableRows, static_cast<int32_t>(std::size(TermFeelingTableRows)));
const CodeTable SenshiTable(SenshiTableRows, static_cast<int32_t>(std::size(SenshiTableRows)));
const CodeTable VillianTable(VillianTableRows, static_cast<int32_t>(std::size(VillianTableRows)));
const CodeTable AssistTable(AssistTableRows, static_cast<int32_t>(std::size(AssistTableRows)));
const CodeTable PartTable(PartTableRows, static_cast<int32_t>(std::size(PartTableRows)));
const CodeTable TrendTable(TrendTableRows, static_cast<int32_t>(std::size(TrendTableRows)));
const CodeTable EyeColorTable(EyeColorTableRows, static_cast<int32_t>(std::size(EyeColorTableRows)));
const CodeTable HairColorTable(HairColorTableRows, static_cast<int32_t>(std::size(HairColorTableRows)));
const CodeTable ColorAdjTable(ColorAdjTableRows, static_cast<int32_t>(std::size(ColorAdjTableRows)));
const CodeTable GroupTable(GroupTableRows, static_cast<int32_t>(std::size(GroupTableRows)));
const CodeTable BloodTypeTable(BloodTypeTableRows, static_cast<int32_t>(std::size(BloodTypeTableRows)));
const CodeTable BloodTypeSignTable(BloodTypeSignTableRows,
                                   static_cast<int32_t>(std::size(BloodTypeSignTableRows)));
const CodeTable SignTable(SignTableRows, static_cast<int32_t>(std::size(SignTableRows)));
const CodeTable PreferenceTable(PreferenceTableRows, static_cast<int32_t>(std::size(PreferenceTableRows)));
const CodeTable StatusTable(StatusTableRows, static_cast<int32_t>(std::size(StatusTableRows)));
const CodeTable GenderTable(GenderTableRows, static_cast<int32_t>(std::size(GenderTableRows)));
const CodeTable KinkTable(KinkTableRows, static_cast<int32_t>(std::size(KinkTableRows)));
const CodeTable ObsessionTable(ObsessionTableRows, static_cast<int32_t>(std::size(ObsessionTableRows)));
