#include "afx/afx.h"
#include "afx/afxsortruns.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <random>
#include <vector>

TEST(Collections, ArrayIndexOutOfRangeRaisesInvalidArgument) {
    CStringArray a;
    a.Add("x");
    a.Add(CString("y"));
    EXPECT_EQ(a.GetSize(), 2);
    EXPECT_EQ(a[1], "y");
    EXPECT_THROW(a.GetAt(2), CInvalidArgException);
    EXPECT_THROW(a.GetAt(-1), CInvalidArgException);
    EXPECT_THROW(a.SetAt(5, "z"), CInvalidArgException);
    EXPECT_THROW(a.RemoveAt(1, 2), CInvalidArgException);
    EXPECT_THROW(a.RemoveAt(1, INTPTR_MAX), CInvalidArgException);
    EXPECT_EQ(a.GetSize(), 2); // a failed removal changes nothing
}

TEST(Collections, ArrayInsertGrowAndRemove) {
    CDWordArray a;
    a.InsertAt(3, 7); // beyond the end: grows with zeros first
    ASSERT_EQ(a.GetSize(), 4);
    EXPECT_EQ(a[0], 0u);
    EXPECT_EQ(a[3], 7u);
    a.InsertAt(0, 1, 2);
    EXPECT_EQ(a.GetSize(), 6);
    EXPECT_EQ(a[1], 1u);
    a.RemoveAt(0, 2);
    EXPECT_EQ(a.GetSize(), 4);
    a.SetAtGrow(6, 9);
    EXPECT_EQ(a.GetUpperBound(), 6);
    CDWordArray b;
    b.Copy(a);
    b.Append(a);
    EXPECT_EQ(b.GetSize(), 14);
    CArray<CPoint, const CPoint&> pts;
    pts.Add(CPoint(1, 2));
    EXPECT_EQ(pts[0].y, 2);
}

TEST(Collections, ListPositionsWalkBothWaysAndSurviveRemoval) {
    CStringList l;
    EXPECT_EQ(l.GetHeadPosition(), nullptr);
    POSITION pb = l.AddTail("b");
    l.AddHead("a");
    l.AddTail("c");
    l.InsertAfter(pb, "b2");
    l.InsertBefore(l.GetHeadPosition(), "0");
    CString all;
    for (POSITION p = l.GetHeadPosition(); p;)
        all += l.GetNext(p);
    EXPECT_EQ(all, "0abb2c");
    CString back;
    for (POSITION p = l.GetTailPosition(); p;)
        back += l.GetPrev(p);
    EXPECT_EQ(back, "cb2ba0");
    // Remove while iterating: take the next position first.
    for (POSITION p = l.GetHeadPosition(); p;) {
        POSITION cur = p;
        CString s = l.GetNext(p);
        if (s.GetLength() > 1 || s == "0") l.RemoveAt(cur);
    }
    EXPECT_EQ(l.GetCount(), 3);
    EXPECT_EQ(l.Find("c"), l.GetTailPosition());
    EXPECT_EQ(l.Find("zz"), nullptr);
    EXPECT_EQ(l.GetAt(l.FindIndex(1)), "b");
    EXPECT_EQ(l.FindIndex(3), nullptr);
    EXPECT_EQ(l.RemoveHead(), "a");
    EXPECT_EQ(l.RemoveTail(), "c");
    l.RemoveAll();
    EXPECT_THROW(l.RemoveHead(), CInvalidArgException);
    EXPECT_TRUE(l.IsEmpty());

    CStringList copy;
    copy.AddTail("x");
    CStringList other(copy);
    other.AddTail(&copy);
    EXPECT_EQ(other.GetCount(), 2);
}

TEST(Collections, MapsLookupOverwriteRemoveAndIterateInInsertionOrder) {
    CMapStringToString m;
    m.SetAt("k1", "v1");
    m["k2"] = "v2";
    m.SetAt("k1", "v1b");
    CString v;
    EXPECT_TRUE(m.Lookup("k1", v));
    EXPECT_EQ(v, "v1b");
    EXPECT_FALSE(m.Lookup("K1", v)); // keys are case-sensitive
    EXPECT_EQ(m.GetCount(), 2);
    m.SetAt("k3", "v3");
    EXPECT_TRUE(m.RemoveKey("k2"));
    EXPECT_FALSE(m.RemoveKey("k2"));
    CString order;
    for (POSITION p = m.GetStartPosition(); p;) {
        CString k, val;
        m.GetNextAssoc(p, k, val);
        order += k + "=" + val + ";";
    }
    EXPECT_EQ(order, "k1=v1b;k3=v3;");

    CMapWordToPtr wp;
    int x = 0;
    wp.SetAt(5, &x);
    void* out = nullptr;
    EXPECT_TRUE(wp.Lookup(5, out));
    EXPECT_EQ(out, &x);
    CMap<int, int, CString, const char*> generic;
    generic[3] = "three";
    CMap<int, int, CString, const char*> copy = generic;
    EXPECT_TRUE(copy.Lookup(3, v));
    EXPECT_EQ(v, "three");
}

TEST(Geometry, RectArithmetic) {
    CRect r(10, 20, 110, 70);
    EXPECT_EQ(r.Width(), 100);
    EXPECT_EQ(r.Height(), 50);
    EXPECT_TRUE(r.PtInRect(CPoint(10, 20)));
    EXPECT_FALSE(r.PtInRect(CPoint(110, 20)));
    CRect i;
    EXPECT_FALSE(i.IntersectRect(r, CRect(200, 200, 300, 300)));
    EXPECT_TRUE(i.IsRectNull());
    EXPECT_TRUE(i.IntersectRect(r, CRect(100, 0, 300, 30)));
    EXPECT_EQ(i, CRect(100, 20, 110, 30));
    CPoint p(CPoint(MAKELPARAM(-5, 7)));
    EXPECT_EQ(p.x, -5);
    EXPECT_EQ(p.y, 7);
}

class CAnimal : public CObject {
    DECLARE_DYNCREATE(CAnimal)
};
class CDog : public CAnimal {
    DECLARE_DYNCREATE(CDog)
public:
    int legs = 4;
};
class CAbstractThing : public CObject {
    DECLARE_DYNAMIC(CAbstractThing)
};
IMPLEMENT_DYNCREATE(CAnimal, CObject)
IMPLEMENT_DYNCREATE(CDog, CAnimal)
IMPLEMENT_DYNAMIC(CAbstractThing, CObject)

TEST(RuntimeClass, KindOfAndDynamicCreation) {
    std::unique_ptr<CObject> o(RUNTIME_CLASS(CDog)->CreateObject());
    ASSERT_NE(o, nullptr);
    EXPECT_TRUE(o->IsKindOf(RUNTIME_CLASS(CAnimal)));
    EXPECT_TRUE(o->IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_FALSE(o->IsKindOf(RUNTIME_CLASS(CAbstractThing)));
    EXPECT_STREQ(o->GetRuntimeClass()->m_lpszClassName, "CDog");
    EXPECT_EQ(static_cast<CDog*>(o.get())->legs, 4);
    EXPECT_EQ(RUNTIME_CLASS(CAbstractThing)->CreateObject(), nullptr);
    EXPECT_EQ(CDog::GetThisClass()->GetBaseClass(), RUNTIME_CLASS(CAnimal));
    EXPECT_EQ(CRuntimeClass::FromName("CDog"), RUNTIME_CLASS(CDog));
    CStringArray arr;
    EXPECT_TRUE(arr.IsKindOf(RUNTIME_CLASS(CStringArray)));
}

TEST(CStringOrdering, PairsAndMapsCompareByText) {
    std::string a1("a"), a2("a");
    std::pair<CString, CString> p1(CString(a1), "x"), p2(CString(a2), "x");
    EXPECT_FALSE(p1 < p2);
    EXPECT_FALSE(p2 < p1);
    EXPECT_TRUE(p1 == p2);
    std::map<std::pair<CString, CString>, int> m;
    m[p1] = 1;
    EXPECT_EQ(m.count(p2), 1u);
    EXPECT_TRUE(CString("b") > "a");
}

// The run-merging sort gives std::stable_sort's order exactly: inputs sorted, reversed, made of runs
// (as a design hands its names), random with many equal keys, and the sizes at the edges.
TEST(Collections, SortStableRunsMatchesStableSort) {
    struct Item {
        int key;
        int origin;
        bool operator==(const Item&) const = default;
    };
    auto less = [](const Item& a, const Item& b) { return a.key < b.key; };
    std::mt19937 random(7);
    auto check = [&](std::vector<int> keys, const char* shape) {
        std::vector<Item> items;
        for (int k : keys) items.push_back({k, static_cast<int>(items.size())});
        std::vector<Item> expected = items;
        std::stable_sort(expected.begin(), expected.end(), less);
        SortStableRuns(items.begin(), items.end(), less);
        EXPECT_EQ(items, expected) << shape << ", " << keys.size() << " items";
    };
    for (int n : {0, 1, 2, 3, 17, 100, 1001}) {
        std::vector<int> keys(static_cast<size_t>(n));
        for (int& k : keys) k = static_cast<int>(random() % 8); // many ties
        check(keys, "random");
        std::vector<int> sorted = keys;
        std::sort(sorted.begin(), sorted.end());
        check(sorted, "sorted");
        check(std::vector<int>(sorted.rbegin(), sorted.rend()), "reversed");
        std::vector<int> runs(static_cast<size_t>(n));
        for (size_t i = 0; i < runs.size(); ++i) runs[i] = static_cast<int>((i * 7) % 23); // ascending runs
        check(runs, "runs");
    }
}
