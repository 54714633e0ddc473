# frozen_string_literal: true
require 'bigdecimal'

# A bank account.
class Account
  attr_reader :owner, :balance

  @@count = 0

  def initialize(owner, balance = 0)
    @owner = owner
    @balance = BigDecimal(balance.to_s)
    @@count += 1
  end

  def deposit!(amount)
    raise ArgumentError, "amount must be positive, got #{amount}" unless amount.positive?
    @balance += amount
    self
  end

  def empty?
    @balance.zero? && defined?(@owner)
  end

  def to_s = "#{owner}: #{'%.2f' % balance}"
end

account = Account.new("Ann", 1_000.50)
puts account.deposit!(0x10).to_s if account.respond_to?(:deposit!)
text = "a long
string"
