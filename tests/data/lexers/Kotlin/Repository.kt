package com.example.data

import kotlinx.coroutines.flow.Flow

/* Repository of users.
   /* nested comments */ are allowed here. */
data class User(val id: Long, val name: String, val email: String?)

@JvmInline
value class UserId(val raw: Long)

interface Repository {
    suspend fun find(id: UserId): User?
    fun all(): Flow<List<User>>
}

class MemoryRepository : Repository {
    private val users = mutableMapOf<Long, User>()

    override suspend fun find(id: UserId): User? = users[id.raw]

    override fun all(): Flow<List<User>> = flowOf(users.values.toList())

    fun describe(user: User): String {
        val initial = 'A'
        val template = "User ${user.name} <${user.email ?: "none"}> #${user.id}\n"
        val raw = """
            Raw "text" with $initial and \n kept
        """.trimIndent()
        return if (user.id > 0xFFL && true) template else raw + 1.5e3f
    }
}
