// The converter's reading dictionary: chosen by option or by the settings
// file, refused with the model's error 27 when the folder is no UniDic.

#include "tests/zef/ZefFixture.h"

#include <string>

namespace {

using namespace zef::test;

const std::string Unidic = "/var/lib/mecab/dic/unidic";

const std::string Page = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                         "<html xmlns=\"http://www.w3.org/1999/xhtml\"><head><title>t</title></head>"
                         "<body><p>智に働けば角が立つ。</p></body></html>\n";

class ReadingDicTest : public ZefFixture {
protected:
    void SetUp() override
    {
        ZefFixture::SetUp();
        writeText(path("page.xhtml"), Page);
    }

    // The pre-processed page, or the run's failure.
    std::string preProcess(std::vector<std::string> options)
    {
        options.insert(options.begin(), "-ha");
        options.push_back(path("page.xhtml").string());
        options.push_back(path("out.xhtml").string());
        const ProgramResult r = zef(options);
        return r.status == 0 ? fileContent(path("out.xhtml")) : describe(r);
    }
};

} // namespace

TEST_F(ReadingDicTest, OptionAndSettingsChooseTheReadings)
{
    if (!fs::exists(Unidic + "/sys.dic"))
        GTEST_SKIP() << "unidic-mecab is not installed";
    const std::string plain = preProcess({});
    EXPECT_NE(plain.find("｜角《かく》"), std::string::npos) << plain;

    const std::string withOption = preProcess({"--reading-dic=" + Unidic});
    EXPECT_NE(withOption.find("｜智《ち》に_｜働《はたら》けば_｜角《かど》が_｜立《た》つ。"), std::string::npos)
        << withOption;
    EXPECT_EQ(preProcess({"--reading-dic", Unidic}), withOption);

    writeText(settings / "zef.conf", "InstDir=" ZEF_BINARY_DIR "/share/zef/\nReadingDic=" + Unidic + "\n");
    EXPECT_EQ(preProcess({}), withOption);
    writeText(settings / "zef.conf", "InstDir=" ZEF_BINARY_DIR "/share/zef/\nReadingDic=\n");
    EXPECT_EQ(preProcess({}), plain) << "an empty value names no dictionary";
}

TEST_F(ReadingDicTest, FolderThatIsNoDictionaryIsRefused)
{
    writeText(path("out.xhtml"), "earlier output");
    const std::string missing = path("nowhere").string();
    ProgramResult r = zef({"-ha", "--reading-dic=" + missing, path("page.xhtml").string(), path("out.xhtml").string()});
    EXPECT_EQ(r.status, 4);
    EXPECT_EQ(r.err, "ERROR: 027 The reading dictionary folder does not exist: " + missing + "\n");
    // From the settings as well; the option comes first.
    writeText(settings / "zef.conf", "InstDir=" ZEF_BINARY_DIR "/share/zef/\nReadingDic=" + scratch.string() + "\n");
    r = zef({"-a", path("page.xhtml").string(), path("out.xhtml").string()});
    EXPECT_EQ(r.status, 4);
    EXPECT_EQ(r.err.rfind("ERROR: 027 The reading dictionary folder holds no MeCab dictionary", 0), 0u) << r.err;
    EXPECT_EQ(fileContent(path("out.xhtml")), "earlier output");

    r = zef({"-a", path("page.xhtml").string(), "--reading-dic"});
    EXPECT_EQ(r.status, 255);
    EXPECT_EQ(r.err, "ERROR: --reading-dic needs a value.\n");
}
