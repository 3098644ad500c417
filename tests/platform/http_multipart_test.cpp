// The reading of multipart/form-data bodies: the boundary from the type, the parts of a body as
// browsers send them, and bodies that are not sound refused whole.
#include <gtest/gtest.h>

#include "platform/http_multipart.h"

using namespace platform;

namespace {

const QByteArray kBoundary = "----WebKitFormBoundaryx7Qm2";

QByteArray Part(const QByteArray& disposition, const QByteArray& data, const QByteArray& type = {}) {
    QByteArray part = "--" + kBoundary + "\r\nContent-Disposition: " + disposition + "\r\n";
    if (!type.isEmpty()) part += "Content-Type: " + type + "\r\n";
    return part + "\r\n" + data + "\r\n";
}
const QByteArray kClose = "--" + kBoundary + "--\r\n";

TEST(MultipartBoundary, IsTakenOnlyFromASoundFormDataType) {
    const struct {
        QByteArray type;
        QByteArray boundary;
    } cases[] = {
        {"multipart/form-data; boundary=" + kBoundary, kBoundary},
        {"Multipart/Form-Data;boundary=\"a b:c\"", "a b:c"},
        {"multipart/form-data; charset=utf-8; boundary=xyz", "xyz"},
        {"multipart/form-data; boundary=" + QByteArray(70, 'b'), QByteArray(70, 'b')},
        {"multipart/form-data; boundary=" + QByteArray(71, 'b'), {}},
        {"multipart/form-data; boundary=\"a \"", {}},
        {"multipart/form-data; boundary=a<b", {}},
        {"multipart/form-data; boundary=", {}},
        {"multipart/form-data; boundary=a; boundary=b", {}},
        {"multipart/form-data", {}},
        {"multipart/mixed; boundary=xyz", {}},
        {"application/x-www-form-urlencoded", {}},
        {"multipart/form-data; boundary=\"xyz", {}},
    };
    for (const auto& one : cases) EXPECT_EQ(MultipartBoundary(one.type), one.boundary) << one.type.toStdString();
}

TEST(MultipartForm, ReadsFieldsAndFilesAsBrowsersSendThem) {
    // Bytes that look like a boundary's start, or a line end, belong to the data.
    const QByteArray photo =
        QByteArray("\xff\xd8\xff\r\n--", 7) + kBoundary.left(10) + "\r\n" + QByteArray("\0x", 2);
    const QByteArray body = Part("form-data; name=\"kod\"", "K7P2") +
                            Part("form-data; name=\"zdjecie\"; filename=\"IMG 1.jpg\"", photo, "image/jpeg") +
                            Part("form-data; name=\"zdjecie\"; filename=\"\"", "", "application/octet-stream") +
                            kClose + "epilogue";
    const auto parts = ReadMultipartForm(body, kBoundary, 10);
    ASSERT_TRUE(parts);
    ASSERT_EQ(parts->size(), 3u);
    EXPECT_EQ((*parts)[0].name, "kod");
    EXPECT_FALSE((*parts)[0].isFile);
    EXPECT_EQ((*parts)[0].data, "K7P2");
    EXPECT_EQ((*parts)[1].name, "zdjecie");
    EXPECT_TRUE((*parts)[1].isFile);
    EXPECT_EQ((*parts)[1].fileName, "IMG 1.jpg");
    EXPECT_EQ((*parts)[1].contentType, "image/jpeg");
    EXPECT_EQ((*parts)[1].data, photo);
    EXPECT_TRUE((*parts)[2].isFile);
    EXPECT_TRUE((*parts)[2].data.isEmpty());
    // No parts at all is a sound form too.
    EXPECT_EQ(ReadMultipartForm(kClose, kBoundary, 10)->size(), 0u);
}

TEST(MultipartForm, RefusesABodyThatIsNotSoundWhole) {
    const QByteArray good = Part("form-data; name=\"a\"", "1");
    const QByteArray cases[] = {
        "",
        "preamble\r\n" + good + kClose,
        good,                                         // no closing boundary: cut short
        good + "--" + kBoundary,                      // the last boundary without its end
        QByteArray(good + kClose).replace("\r\n\r\n", "\r\n"),  // the head never ends
        Part("form-data", "1") + kClose,              // no name
        Part("form-data; name=\"\"", "1") + kClose,
        Part("attachment; name=\"a\"", "1") + kClose,
        Part("form-data; name=\"a\"; name=\"b\"", "1") + kClose,
        Part("form-data; name=\"a", "1") + kClose,
        QByteArray(Part("form-data; name=\"a\"", "1")).replace("Content-Disposition:", "Content-Disposition") + kClose,
        "--" + kBoundary + "\r\nContent-Disposition: form-data; name=\"a\"\r\nX: " + QByteArray(9000, 'x') +
            "\r\n\r\n1\r\n" + kClose,
        "--" + kBoundary + "\r\n\r\n1\r\n" + kClose,
        "--" + kBoundary + "x\r\n" + good.mid(kBoundary.size() + 4) + kClose,
        good + good + good + kClose,  // more parts than allowed
    };
    for (const QByteArray& body : cases) {
        EXPECT_FALSE(ReadMultipartForm(body, kBoundary, 2)) << body.left(200).toStdString();
    }
}

}  // namespace
