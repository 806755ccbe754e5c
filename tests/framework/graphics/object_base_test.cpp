#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "framework/core/collision.h"
#include "framework/graphics/device_names.h"
#include "framework/core/matrix.h"
#include "framework/graphics/object_base.h"
#include "platform/gfx/constants.h"

namespace {

// Counts the destructions of its instances.
class Counted : public CBaseObject {
public:
    explicit Counted(int* deaths) : deaths_(deaths) {}
    ~Counted() override { ++*deaths_; }

private:
    int* deaths_;
};

TEST(ObjectBase, ParentReleasesOneReferenceOfEachChild) {
    int deaths = 0;
    auto* parent = new Counted(&deaths);
    auto* first = new Counted(&deaths);
    auto* second = new Counted(&deaths);
    auto* third = new Counted(&deaths);
    second->AddRef();
    for (CBaseObject* child : {first, second, third}) parent->AddChild(child);
    EXPECT_EQ(parent->GetChildCount(), 3);
    EXPECT_EQ(parent->GetChild(), first);
    EXPECT_EQ(first->GetNextSibling(), second);

    parent->AddRef();
    EXPECT_EQ(parent->Release(), 1);
    EXPECT_EQ(parent->Release(), 0);
    EXPECT_EQ(deaths, 3);  // the parent, the first and the third
    EXPECT_EQ(second->GetRefCount(), 1);
    EXPECT_EQ(second->GetParent(), nullptr);
    second->Release();
}

TEST(ObjectBase, DestroyedChildLeavesItsParentsChain) {
    int deaths = 0;
    auto* parent = new Counted(&deaths);
    auto* a = new Counted(&deaths);
    auto* b = new Counted(&deaths);
    auto* c = new Counted(&deaths);
    for (CBaseObject* child : {a, b, c}) parent->AddChild(child);
    delete b;
    EXPECT_EQ(parent->GetChildCount(), 2);
    EXPECT_EQ(a->GetNextSibling(), c);
    delete a;
    EXPECT_EQ(parent->GetChild(), c);
    parent->Release();
    EXPECT_EQ(deaths, 4);
}

TEST(ObjectList, RemovesHeadTailMiddleAndSole) {
    struct Case {
        int count;
        int removed;  // index of the member to remove
    };
    for (Case c : {Case{3, 0}, Case{3, 2}, Case{3, 1}, Case{1, 0}}) {
        CObjectList list;
        std::vector<CBaseObject*> members;
        for (int i = 0; i < c.count; ++i) {
            members.push_back(new CBaseObject);
            list.AddTail(members.back());
        }
        list.Remove(members[c.removed]);
        std::vector<CBaseObject*> expected = members;
        expected.erase(expected.begin() + c.removed);
        std::vector<CBaseObject*> walked;
        for (CBaseObject* o = list.GetTop(); o != nullptr; o = CObjectList::GetNext(o)) walked.push_back(o);
        EXPECT_EQ(walked, expected) << "count " << c.count << " removed " << c.removed;
        EXPECT_EQ(list.GetCount(), static_cast<uint32_t>(c.count - 1));
        // The tail must be right too: a new member goes after the last one left.
        auto* extra = new CBaseObject;
        list.AddTail(extra);
        expected.push_back(extra);
        walked.clear();
        for (CBaseObject* o = list.GetTop(); o != nullptr; o = CObjectList::GetNext(o)) walked.push_back(o);
        EXPECT_EQ(walked, expected);
        for (CBaseObject* o : members) delete o;
        delete extra;
    }
}

TEST(ObjectBase, NamesAreTruncatedAndClassNamesCompareByIdentity) {
    CBaseObject object;
    std::string longName(400, 'x');
    object.SetName(longName.c_str());
    EXPECT_EQ(std::string(object.GetName()), std::string(CBaseObject::kNameSize - 1, 'x'));
    CClassName a("LibModel::CBaseMesh");
    CClassName b("LibModel::CBaseMesh");
    EXPECT_TRUE(a == a);
    EXPECT_FALSE(a == b);
}

void ExpectNear(const CMatrix& a, const CMatrix& b) {
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) EXPECT_NEAR(a.m[r][c], b.m[r][c], 1e-5f) << r << "," << c;
    }
}

TEST(Matrix, RotationInverseAndDecompose) {
    CMatrix rotation;
    rotation.RotationEuler(0, 0, 0);
    ExpectNear(rotation, CMatrix());

    rotation.RotationEuler(16384, 0, 0);  // a quarter turn about x takes y to z
    CVector3 y(0, 1, 0);
    y.TransformNormal(rotation);
    EXPECT_NEAR(std::fabs(y.z), 1.0f, 1e-6f);

    CMatrix scale;
    scale.Scaling(2.0f, 3.0f, 4.0f);
    CMatrix m = scale * rotation;
    m.m[3][0] = 5.0f;
    m.m[3][1] = 6.0f;
    CMatrix inverse;
    inverse.Inverse(m);
    ExpectNear(m * inverse, CMatrix());

    CVector3 translation, scales;
    CMatrix turn;
    m.Decompose(&translation, &scales, &turn);
    EXPECT_FLOAT_EQ(translation.x, 5.0f);
    EXPECT_NEAR(scales.y, 3.0f, 1e-5f);
    ExpectNear(turn, rotation);

    CMatrix copy = m;
    EXPECT_EQ(reinterpret_cast<uintptr_t>(&copy.m[0][0]) % 16, 0u);
}

// Three angles at once turn about x, then y, then z: the rows are Rz x Ry x Rx of the column-vector
// rotations, each computed here in double precision from its whole angle.
TEST(Matrix, EulerAnglesTurnAboutXThenYThenZ) {
    const int32_t angles[][3] = {{8192, 4096, 0}, {0, 12000, 20000}, {30000, 6000, 50000}, {65534, 32768, 16384}, {-8192, 2048, -4096}};
    auto product = [](const double a[3][3], const double b[3][3], double out[3][3]) {
        for (int r = 0; r < 3; ++r) {
            for (int c = 0; c < 3; ++c) out[r][c] = a[r][0] * b[0][c] + a[r][1] * b[1][c] + a[r][2] * b[2][c];
        }
    };
    for (const auto& a : angles) {
        double cs[3], sn[3];
        for (int i = 0; i < 3; ++i) {
            const double radians = (a[i] >> 1) * 2.0 * 2.0 * M_PI / 65536.0;  // twice the half angle
            cs[i] = std::cos(radians);
            sn[i] = std::sin(radians);
        }
        const double rx[3][3] = {{1, 0, 0}, {0, cs[0], -sn[0]}, {0, sn[0], cs[0]}};
        const double ry[3][3] = {{cs[1], 0, sn[1]}, {0, 1, 0}, {-sn[1], 0, cs[1]}};
        const double rz[3][3] = {{cs[2], -sn[2], 0}, {sn[2], cs[2], 0}, {0, 0, 1}};
        double zy[3][3], expected[3][3];
        product(rz, ry, zy);
        product(zy, rx, expected);
        CMatrix m;
        m.RotationEuler(a[0], a[1], a[2]);
        for (int r = 0; r < 4; ++r) {
            for (int c = 0; c < 4; ++c) {
                const double want = r < 3 && c < 3 ? expected[r][c] : (r == c ? 1.0 : 0.0);
                EXPECT_NEAR(m.m[r][c], want, 2e-5) << a[0] << "," << a[1] << "," << a[2] << " at " << r << "," << c;
            }
        }
    }
}

TEST(DeviceNames, FormatNamesAndErrorTexts) {
    EXPECT_STREQ(GetFormatName(0), "UNKNOWN");
    EXPECT_STREQ(GetFormatName(platform::gfx::fmt::kDxt5), "DXT5");
    EXPECT_STREQ(GetFormatName(platform::gfx::fmt::kG8R8G8B8), "G8R8_G8B8");
    const char* first = GetFormatName(platform::gfx::fmt::kA8R8G8B8);
    char copy[32];
    EXPECT_EQ(GetFormatName(platform::gfx::fmt::kR5G6B5, copy), first);
    EXPECT_STREQ(first, "R5G6B5");
    EXPECT_STREQ(copy, "R5G6B5");
    EXPECT_STREQ(GetFormatName(12345), "UNKNOWN");

    namespace result = platform::gfx::result;
    EXPECT_STREQ(ZethDeviceNames::ErrorText(result::kOk), "エラーは発生していない。");
    EXPECT_STREQ(ZethDeviceNames::ErrorText(result::kInvalidMesh), "メッシュが無効である。 ");
    for (platform::gfx::Result unknown : {result::kDriverInvalidCall, result::kWasStillDrawing, result::kLoadedMeshHasNoData}) {
        EXPECT_STREQ(ZethDeviceNames::ErrorText(unknown), "未知のエラー。");
    }
}

}  // namespace
