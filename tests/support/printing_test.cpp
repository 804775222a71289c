#include "support/printing_test.h"

void PrintingTest::SetUp() {
  ASSERT_TRUE(m_server.Running()) << m_server.Problem();
  ASSERT_TRUE(m_server.AddRawQueue("raw"));
  ASSERT_TRUE(m_server.SetDefault("raw"));
}
