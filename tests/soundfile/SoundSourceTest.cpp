#include <gtest/gtest.h>

#include "soundfile/BufferUtils.h"
#include "soundfile/SoundSource.h"

TEST(SoundSource, HandleReferenceCounting) {
  LSoundSource a(kSourceInvalid);
  EXPECT_EQ(a->GetRefCount(), 1);
  {
    LSoundSource b = a;
    EXPECT_EQ(a.Get(), b.Get());
    EXPECT_EQ(a->GetRefCount(), 2);
  }
  EXPECT_EQ(a->GetRefCount(), 1);
  LSoundSource& self = a;
  a = self;
  EXPECT_EQ(a->GetRefCount(), 1);
  EXPECT_EQ(a->GetError(), kSourceInvalid);
  a.Close();
  EXPECT_EQ(a->GetError(), kSourceNone);
  a.Close();
  EXPECT_EQ(a->GetError(), kSourceNone);
  EXPECT_EQ(LSoundSource(static_cast<LSoundSourceBase*>(nullptr))->GetError(), kSourceNone);
}
