//! A bounded stack.
use std::fmt;

/// Errors of the stack.
#[derive(Debug, Clone, PartialEq)]
pub enum StackError {
    Full { capacity: usize },
    Empty,
}

pub struct Stack<'a, T> {
    items: Vec<&'a T>,
    capacity: usize,
}

impl<'a, T: fmt::Debug> Stack<'a, T> {
    pub fn new(capacity: usize) -> Self {
        Self { items: Vec::with_capacity(capacity), capacity }
    }

    pub fn push(&mut self, item: &'a T) -> Result<(), StackError> {
        if self.items.len() >= self.capacity {
            return Err(StackError::Full { capacity: self.capacity });
        }
        self.items.push(item);
        Ok(())
    }
}

/* outer /* inner */ still outer */
fn main() {
    let message = "multi-line
string";
    let c = 'x'; let newline = '\n';
    let n: u64 = 0xFF_u64 + 1_000 + 2.5e3 as u64;
    println!("{message} {c} {n:?}");
}
